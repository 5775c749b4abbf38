#include "archive/archive_index.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "core/byte_reader.h"
#include "core/sjis.h"

namespace veskar {

int ArchiveIndex::find(std::string_view name) const {
    // Linear and in file order: the first entry of a name must win.
    for (std::size_t i = 0; i < names.size(); ++i)
        if (equalsIgnoreAsciiCase(names[i], name)) return static_cast<int>(i);
    return -1;
}

namespace {

// A damaged index can have thousands of bad records; a handful tells enough.
constexpr int kEntryProblemsShown = 5;

class ProblemLog {
public:
    explicit ProblemLog(std::vector<std::string>& out) : out_(out) {}
    void file(std::string text) { out_.push_back(std::move(text)); }
    void entry(std::string text) {
        if (++entryProblems_ <= kEntryProblemsShown) out_.push_back(std::move(text));
    }
    void finish() {
        if (entryProblems_ > kEntryProblemsShown)
            out_.push_back("and " + std::to_string(entryProblems_ - kEntryProblemsShown) +
                           " more damaged entries");
    }

private:
    std::vector<std::string>& out_;
    int entryProblems_ = 0;
};

// Records start at `headerSize`; each is a name field of `nameField` bytes
// followed by offset and size.
IndexParseResult parseRecords(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                              std::uint32_t headerSize, std::uint32_t nameField, std::uint32_t count,
                              NameCase nameCase) {
    IndexParseResult result;
    ProblemLog log(result.problems);
    const std::uint64_t recordSize = std::uint64_t{nameField} + 8;
    const std::uint64_t held = (head.size() - headerSize) / recordSize;
    const std::uint64_t trusted = std::min<std::uint64_t>(count, held);
    if (trusted < count)
        log.file("the index claims " + std::to_string(count) + " entries but the file holds only " +
                 std::to_string(trusted));

    for (std::uint64_t i = 0; i < trusted; ++i) {
        const std::uint8_t* record = head.data() + headerSize + i * recordSize;
        const void* nul = std::memchr(record, 0, nameField);
        if (!nul) {
            log.entry("entry " + std::to_string(i) + " has no NUL in its " + std::to_string(nameField) +
                      "-byte name field");
            continue;
        }
        const std::string_view stored(
            reinterpret_cast<const char*>(record),
            static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - record));
        const std::uint32_t offset = loadU32(record + nameField);
        const std::uint32_t size = loadU32(record + nameField + 4);
        if (offset > fileSize || size > fileSize - offset) {
            log.entry("entry " + std::to_string(i) + " '" + cp932ToUtf8(stored) + "' (offset " +
                      std::to_string(offset) + ", size " + std::to_string(size) +
                      ") reaches past the end of the file (" + std::to_string(fileSize) + " bytes)");
            continue;
        }
        result.index.names.push_back(nameCase == NameCase::Upper ? upperAscii(stored) : std::string(stored));
        result.index.offsets.push_back(offset);
        result.index.sizes.push_back(size);
    }
    log.finish();
    return result;
}

} // namespace

IndexParseResult parseScriptIndex(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                  NameCase nameCase) {
    if (head.size() > fileSize) head = head.first(static_cast<std::size_t>(fileSize));
    if (head.size() < kScriptIndexHeader) {
        IndexParseResult result;
        result.problems.push_back("the file is too short to hold its entry count");
        return result;
    }
    return parseRecords(head, fileSize, kScriptIndexHeader, kScriptNameField, loadU32(head.data()), nameCase);
}

IndexParseResult parseGeneralIndex(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                   NameCase nameCase) {
    if (head.size() > fileSize) head = head.first(static_cast<std::size_t>(fileSize));
    IndexParseResult result;
    if (head.size() < kGeneralIndexHeader) {
        result.problems.push_back("the file is too short to hold its entry count and name length");
        return result;
    }
    const std::uint32_t count = loadU32(head.data());
    const std::uint32_t nameField = loadU32(head.data() + 4);
    if (nameField == 0 || nameField > kMaxGeneralNameField) {
        // Nothing after the header can be located; an empty archive with a
        // strange name length is still a sound empty archive.
        if (count != 0)
            result.problems.push_back("the name field length " + std::to_string(nameField) +
                                      " is not plausible; no entry can be trusted");
        return result;
    }
    return parseRecords(head, fileSize, kGeneralIndexHeader, nameField, count, nameCase);
}

std::uint64_t indexRegionSize(ArchiveLayout layout, std::span<const std::uint8_t> header,
                              std::uint64_t fileSize) {
    const std::uint32_t headerSize =
        layout == ArchiveLayout::Script ? kScriptIndexHeader : kGeneralIndexHeader;
    if (header.size() < headerSize) return std::min<std::uint64_t>(header.size(), fileSize);
    const std::uint64_t count = loadU32(header.data());
    std::uint64_t recordSize = kScriptRecordSize;
    if (layout == ArchiveLayout::General) {
        const std::uint32_t nameField = loadU32(header.data() + 4);
        if (nameField == 0 || nameField > kMaxGeneralNameField)
            return std::min<std::uint64_t>(headerSize, fileSize);
        recordSize = std::uint64_t{nameField} + 8;
    }
    // count < 2^32 and recordSize <= 1032: no overflow.
    return std::min<std::uint64_t>(headerSize + count * recordSize, fileSize);
}

std::expected<IndexParseResult, std::string> readArchiveIndex(const std::filesystem::path& path,
                                                              ArchiveLayout layout, NameCase nameCase) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::unexpected("cannot open " + path.string());
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    if (end < 0) return std::unexpected("cannot read " + path.string());
    const auto fileSize = static_cast<std::uint64_t>(end);
    in.seekg(0);

    const std::size_t headerSize = layout == ArchiveLayout::Script ? kScriptIndexHeader : kGeneralIndexHeader;
    std::vector<std::uint8_t> head(static_cast<std::size_t>(std::min<std::uint64_t>(headerSize, fileSize)));
    if (!in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size())))
        return std::unexpected("cannot read " + path.string());
    const auto region = static_cast<std::size_t>(indexRegionSize(layout, head, fileSize));
    if (region > head.size()) {
        const std::size_t have = head.size();
        head.resize(region);
        if (!in.read(reinterpret_cast<char*>(head.data() + have),
                     static_cast<std::streamsize>(region - have)))
            return std::unexpected("cannot read " + path.string());
    }
    return layout == ArchiveLayout::Script ? parseScriptIndex(head, fileSize, nameCase)
                                           : parseGeneralIndex(head, fileSize, nameCase);
}

std::string describeIndexProblems(const std::filesystem::path& path,
                                  const std::vector<std::string>& problems) {
    std::string line = path.string() + ": damaged index: ";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i) line += "; ";
        line += problems[i];
    }
    return line;
}

} // namespace veskar
