// Parsing the two index layouts, including damaged ones, and the name lookup
// inside one index.

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "archive/archive_index.h"
#include "core/byte_reader.h"

namespace veskar {
namespace {

struct Record {
    std::string name; // bytes of the name field up to its NUL
    std::uint32_t offset;
    std::uint32_t size;
    bool terminated = true; // false: the field is filled with the name's first byte, no NUL
};

std::vector<std::uint8_t> generalIndex(std::uint32_t count, std::uint32_t nameField,
                                       const std::vector<Record>& records) {
    ByteWriter w;
    w.u32(count);
    w.u32(nameField);
    for (const auto& r : records) {
        std::vector<std::uint8_t> field(nameField, r.terminated ? 0 : static_cast<std::uint8_t>(r.name[0]));
        if (r.terminated) std::copy(r.name.begin(), r.name.end(), field.begin());
        w.bytes(field);
        w.u32(r.offset);
        w.u32(r.size);
    }
    return std::move(w.data());
}

std::vector<std::uint8_t> scriptIndex(std::uint32_t count, const std::vector<Record>& records) {
    ByteWriter w;
    w.u32(count);
    for (const auto& r : records) {
        std::vector<std::uint8_t> field(16, r.terminated ? 0 : static_cast<std::uint8_t>(r.name[0]));
        if (r.terminated) std::copy(r.name.begin(), r.name.end(), field.begin());
        w.bytes(field);
        w.u32(r.offset);
        w.u32(r.size);
    }
    return std::move(w.data());
}

struct ParseCase {
    const char* what;
    std::vector<std::uint8_t> head;
    std::uint64_t fileSize;
    std::vector<std::string> names; // expected, upper-cased
    const char* problem;            // expected in the problems, or nullptr for none
};

void expectParse(const ParseCase& c, const IndexParseResult& result) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(result.index.names, c.names);
    EXPECT_EQ(result.index.offsets.size(), c.names.size());
    EXPECT_EQ(result.index.sizes.size(), c.names.size());
    if (!c.problem) {
        EXPECT_TRUE(result.problems.empty()) << result.problems.front();
    } else {
        std::string all;
        for (const auto& p : result.problems)
            all += p + "\n";
        EXPECT_NE(all.find(c.problem), std::string::npos) << all;
    }
}

TEST(GeneralIndex, KeepsTrustedEntriesAndReportsTheRest) {
    const ParseCase cases[] = {
        {"sound index",
         generalIndex(2, 12, {{"bg01", 48, 10}, {"sys_qbtn", 58, 2}}),
         60,
         {"BG01", "SYS_QBTN"},
         nullptr},
        {"no entries", generalIndex(0, 32, {}), 8, {}, nullptr},
        {"more entries claimed than the file holds",
         generalIndex(5, 8, {{"a", 0, 1}, {"b", 0, 1}}),
         40,
         {"A", "B"},
         "claims 5 entries but the file holds only 2"},
        {"absurd entry count",
         generalIndex(0xFFFFFFFF, 8, {{"a", 0, 1}}),
         24,
         {"A"},
         "claims 4294967295 entries"},
        {"name field without NUL",
         generalIndex(3, 4, {{"a", 0, 1}, {"long", 0, 1, false}, {"c", 0, 1}}),
         44,
         {"A", "C"},
         "entry 1 has no NUL in its 4-byte name field"},
        {"offset past the end",
         generalIndex(2, 4, {{"a", 0, 1}, {"b", 33, 0}}),
         32,
         {"A"},
         "entry 1 'b' (offset 33, size 0) reaches past the end of the file (32 bytes)"},
        {"size past the end", generalIndex(2, 4, {{"a", 31, 2}, {"b", 31, 1}}), 32, {"B"}, "entry 0 'a'"},
        {"offset and size near 2^32 do not wrap",
         generalIndex(1, 4, {{"a", 0xFFFFFFF0u, 0x20}}),
         20,
         {},
         "reaches past the end"},
        {"entry ending exactly at the end and empty entry at the end",
         generalIndex(2, 4, {{"a", 24, 8}, {"b", 32, 0}}),
         32,
         {"A", "B"},
         nullptr},
        {"name field length 0", generalIndex(1, 0, {}), 16, {}, "name field length 0 is not plausible"},
        {"absurd name field length", generalIndex(1, 0x7FFFFFFF, {}), 16, {}, "2147483647 is not plausible"},
        {"absurd name field length with no entries is just empty",
         generalIndex(0, 0x7FFFFFFF, {}),
         8,
         {},
         nullptr},
        {"file shorter than the header", {1, 0, 0, 0, 8}, 5, {}, "too short"},
        {"empty file", {}, 0, {}, "too short"},
    };
    for (const auto& c : cases)
        expectParse(c, parseGeneralIndex(c.head, c.fileSize));
}

TEST(ScriptIndex, KeepsTrustedEntriesAndReportsTheRest) {
    const ParseCase cases[] = {
        {"sound index",
         scriptIndex(2, {{"main", 52, 3}, {"_config", 55, 1}}),
         56,
         {"MAIN", "_CONFIG"},
         nullptr},
        {"fifteen-character name",
         scriptIndex(1, {{"abcdefghijklmno", 28, 0}}),
         28,
         {"ABCDEFGHIJKLMNO"},
         nullptr},
        {"no entries", scriptIndex(0, {}), 4, {}, nullptr},
        {"truncated record",
         [] {
             auto bytes = scriptIndex(2, {{"a", 0, 1}, {"b", 0, 1}});
             bytes.resize(bytes.size() - 1);
             return bytes;
         }(),
         51,
         {"A"},
         "claims 2 entries but the file holds only 1"},
        {"sixteen bytes without NUL", scriptIndex(1, {{"x", 0, 1, false}}), 28, {}, "no NUL in its 16-byte"},
        {"size past the end", scriptIndex(1, {{"a", 20, 9}}), 28, {}, "reaches past the end"},
        {"shorter than the entry count", {1, 0}, 2, {}, "too short"},
    };
    for (const auto& c : cases)
        expectParse(c, parseScriptIndex(c.head, c.fileSize));
}

TEST(GeneralIndex, ManyDamagedEntriesGiveAShortReport) {
    std::vector<Record> records;
    for (int i = 0; i < 40; ++i)
        records.push_back({"e", 1000, 1});
    const auto result = parseGeneralIndex(generalIndex(40, 4, records), 500);
    EXPECT_EQ(result.index.count(), 0u);
    ASSERT_EQ(result.problems.size(), 6u);
    EXPECT_EQ(result.problems.back(), "and 35 more damaged entries");
}

TEST(ArchiveIndex, ParsersKeepStoredNamesWhenAsked) {
    const auto head = generalIndex(1, 9, {{"Sys_qbtn", 25, 0}});
    EXPECT_EQ(parseGeneralIndex(head, 25, NameCase::AsStored).index.names.at(0), "Sys_qbtn");
    EXPECT_EQ(parseGeneralIndex(head, 25).index.names.at(0), "SYS_QBTN");
}

TEST(ArchiveIndex, IndexRegionStaysInsideTheFile) {
    struct Case {
        const char* what;
        ArchiveLayout layout;
        std::vector<std::uint8_t> header;
        std::uint64_t fileSize;
        std::uint64_t expected;
    };
    const auto header = [](std::uint32_t n, std::uint32_t l) {
        ByteWriter w;
        w.u32(n);
        w.u32(l);
        return std::move(w.data());
    };
    const Case cases[] = {
        {"general", ArchiveLayout::General, header(3, 8), 100000, 8 + 3 * 16},
        {"script", ArchiveLayout::Script, header(3, 0), 100000, 4 + 3 * 24},
        {"count beyond the file", ArchiveLayout::General, header(0xFFFFFFFF, 1024), 5000, 5000},
        {"absurd name length reads the header only", ArchiveLayout::General, header(10, 0xFFFFFFFF), 5000, 8},
        {"short header", ArchiveLayout::General, {1, 0, 0}, 3, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(indexRegionSize(c.layout, c.header, c.fileSize), c.expected) << c.what;
}

TEST(ArchiveIndex, FindIgnoresTheCaseOfLettersOnlyAndTheFirstEntryWins) {
    ArchiveIndex index;
    const auto add = [&](std::string name, std::uint32_t offset) {
        index.names.push_back(std::move(name));
        index.offsets.push_back(offset);
        index.sizes.push_back(1);
    };
    // As parsed: upper-cased a-z, the trail byte 0x61 of a two-byte character kept.
    const auto parsed = parseGeneralIndex(generalIndex(1, 8, {{"s\x83\x61x", 24, 0}}), 24);
    ASSERT_EQ(parsed.index.names.at(0), "S\x83\x61X");
    add(parsed.index.names[0], 10);
    add("SYS_QBTN", 20);
    add("SYS_QBTN", 30);

    const std::pair<const char*, int> cases[] = {
        {"sys_qbtn", 1},   {"SYS_QBTN", 1},   {"Sys_QBtn", 1}, // first of the two wins
        {"sys_qbtn2", -1}, {"sys_qbt", -1},   {"sys_qbtn.bmp", -1}, {"", -1},
        {"S\x83\x61X", 0}, {"s\x83\x61x", 0}, {"S\x83\x41X", -1}, // another two-byte character whose second
                                                                  // byte is 'A'
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(index.find(name), expected) << name;
}

} // namespace
} // namespace veskar
