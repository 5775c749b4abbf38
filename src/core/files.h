#pragma once
// Whole-file helpers. Writes go to a temporary file that is renamed over the
// target, so a file is written whole or not at all.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veskar {

std::expected<std::vector<std::uint8_t>, std::string> readWholeFile(const std::filesystem::path& path);

// Reads `size` bytes at `offset`; fails (with a reason) if the file is
// shorter than that or cannot be opened.
std::expected<std::vector<std::uint8_t>, std::string> readFileRange(const std::filesystem::path& path,
                                                                    std::uint64_t offset, std::uint64_t size);

std::optional<std::uint64_t> fileSize(const std::filesystem::path& path);

std::expected<void, std::string> writeFileAtomically(const std::filesystem::path& path,
                                                     std::span<const std::uint8_t> bytes);

} // namespace veskar
