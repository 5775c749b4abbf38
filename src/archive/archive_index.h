#pragma once
// The index of one archive file, and the parsers of its two layouts.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace veskar {

struct ArchiveIndex {
    std::filesystem::path path; // empty when the file was not found
    std::vector<std::string> names; // upper-cased (a-z only), file order
    std::vector<std::uint32_t> offsets;
    std::vector<std::uint32_t> sizes;

    std::size_t count() const { return names.size(); }
    // First entry of that name (compared without regard to a-z case), or -1.
    int find(std::string_view name) const;
};

// Problems found in an index. The parsers keep every entry they can trust
// and report the rest; `problems` is empty for a sound file.
struct IndexParseResult {
    ArchiveIndex index;
    std::vector<std::string> problems;
};

// `head` holds the first bytes of the file (at least the whole index when the
// file is sound; never more than the file); `fileSize` is the file's length,
// against which every entry's offset and size are checked.
//
// Script layout: N, then N records of a 16-byte name, offset and size.
IndexParseResult parseScriptIndex(std::span<const std::uint8_t> head, std::uint64_t fileSize);
// General layout: N, L, then N records of an L-byte name, offset and size.
IndexParseResult parseGeneralIndex(std::span<const std::uint8_t> head, std::uint64_t fileSize);

} // namespace veskar
