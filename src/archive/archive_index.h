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
    std::filesystem::path path;     // empty when the file was not found
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

// Fixed sizes of the two layouts.
constexpr std::uint32_t kScriptNameField = 16;
constexpr std::uint32_t kScriptRecordSize = kScriptNameField + 8;
constexpr std::uint32_t kScriptIndexHeader = 4;
constexpr std::uint32_t kGeneralIndexHeader = 8;
// Longer name fields than this are taken for a damaged header: names carry no
// folder or extension, so real ones are short.
constexpr std::uint32_t kMaxGeneralNameField = 1024;

// The engine works with upper-cased names; the authoring tool shows them as stored.
enum class NameCase { Upper, AsStored };

// `head` holds the first bytes of the file (at least the whole index when the
// file is sound; never more than the file); `fileSize` is the file's length,
// against which every entry's offset and size are checked.
//
// Script layout: N, then N records of a 16-byte name, offset and size.
IndexParseResult parseScriptIndex(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                  NameCase nameCase = NameCase::Upper);
// General layout: N, L, then N records of an L-byte name, offset and size.
IndexParseResult parseGeneralIndex(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                   NameCase nameCase = NameCase::Upper);

enum class ArchiveLayout { Script, General };

// How many bytes of the file's start hold the whole index, given its first
// bytes (4 for the script layout, 8 for the general one; fewer when the file
// is that short). Never more than `fileSize`, so a damaged count cannot make
// a reader take more than the file.
std::uint64_t indexRegionSize(ArchiveLayout layout, std::span<const std::uint8_t> header,
                              std::uint64_t fileSize);

// Reads just the index region of an archive file and parses it. A file that
// cannot be opened gives an unexpected with the reason.
std::expected<IndexParseResult, std::string> readArchiveIndex(const std::filesystem::path& path,
                                                              ArchiveLayout layout,
                                                              NameCase nameCase = NameCase::Upper);

// One line for stderr: the archive's name and its index problems.
std::string describeIndexProblems(const std::filesystem::path& path,
                                  const std::vector<std::string>& problems);

} // namespace veskar
