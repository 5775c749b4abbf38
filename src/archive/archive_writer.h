#pragma once
// Builds archive files in either index layout from named entries: what the
// authoring tool packs and what tests build their fixture games with.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "archive/archive_index.h"

namespace veskar {

struct ArchiveEntry {
    std::string name; // Shift-JIS, stored as given (the engine ignores a-z case)
    std::vector<std::uint8_t> bytes;
};

// Name field length the authoring tool uses for general-layout archives
// unless told otherwise: room for 31 bytes of name.
constexpr std::uint32_t kDefaultGeneralNameField = 32;

// Longest name a layout can hold (one byte of the field is the NUL).
std::uint32_t maxNameLength(ArchiveLayout layout, std::uint32_t generalNameField = kDefaultGeneralNameField);

// Why `name` cannot be stored in that layout; empty when it can.
std::string checkEntryName(std::string_view name, ArchiveLayout layout,
                           std::uint32_t generalNameField = kDefaultGeneralNameField);

// The whole archive: index, then the entries' data in the given order.
// Entries of the same name are kept, in order (the first wins at lookup).
// `generalNameField` is L of the general layout; the script layout's is fixed.
std::expected<std::vector<std::uint8_t>, std::string>
buildArchive(ArchiveLayout layout, std::span<const ArchiveEntry> entries,
             std::uint32_t generalNameField = kDefaultGeneralNameField);

// buildArchive written to `path` whole or not at all.
std::expected<void, std::string> writeArchive(const std::filesystem::path& path, ArchiveLayout layout,
                                              std::span<const ArchiveEntry> entries,
                                              std::uint32_t generalNameField = kDefaultGeneralNameField);

} // namespace veskar
