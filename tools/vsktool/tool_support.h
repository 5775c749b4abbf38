#pragma once
// What every vsktool command shares: messages, usage errors, reading
// options, and names of files as the archives hold them.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "archive/archive_index.h"
#include "commands.h"

namespace vsktool {

// "vsktool: MESSAGE" on stderr; returns kFailure.
int fail(std::string_view message);
// A warning or progress line on stderr.
void note(std::string_view message);
// "vsktool COMMAND: MESSAGE" and a pointer to the command's help; returns kUsageError.
int usageError(std::string_view command, std::string_view message);

bool wantsHelp(Args args);
// Prints `text` on stdout; returns kOk.
int printHelp(std::string_view text);

// "script" or "general".
std::optional<veskar::ArchiveLayout> parseLayout(std::string_view text);
// The layout an archive's file name suggests: vk_data*.vsk hold scripts.
veskar::ArchiveLayout layoutForFileName(const std::filesystem::path& path);
std::optional<std::uint32_t> parseCount(std::string_view text);

// The entry name for a file: its name without folder and extension, in CP932.
std::expected<std::string, std::string> entryNameForFile(const std::filesystem::path& path);
// An entry name as a file name: UTF-8, refused when it could leave the folder.
std::expected<std::string, std::string> fileNameForEntry(std::string_view entryName);

// Entry names as stored are CP932; terminals want UTF-8.
std::string shown(std::string_view cp932);

} // namespace vsktool
