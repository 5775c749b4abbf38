// Writing archives and script sources: what the authoring tool and the
// fixture games rely on.

#include <gtest/gtest.h>

#include "archive/archive_writer.h"
#include "archive/script_loader.h"
#include "archive/script_source.h"
#include "core/sjis.h"

namespace veskar {
namespace {

std::vector<std::uint8_t> bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(ArchiveWriter, WhatTheParsersReadBack) {
    const std::vector<ArchiveEntry> entries = {{"bg01", bytes("abc")},
                                               {"Sys_Qbtn", bytes("")},
                                               {"bg01", bytes("second")},
                                               {"\x94\x77\x8c\x69", bytes("z")}};
    struct Case {
        ArchiveLayout layout;
        std::uint32_t nameField;
        std::size_t headerSize;
    };
    for (const Case c :
         {Case{ArchiveLayout::General, 9, 8 + 4 * 17}, Case{ArchiveLayout::General, 32, 8 + 4 * 40},
          Case{ArchiveLayout::Script, 0, 4 + 4 * 24}}) {
        const auto archive = buildArchive(c.layout, entries, c.nameField).value();
        const auto parsed = c.layout == ArchiveLayout::Script ? parseScriptIndex(archive, archive.size())
                                                              : parseGeneralIndex(archive, archive.size());
        EXPECT_TRUE(parsed.problems.empty());
        ASSERT_EQ(parsed.index.count(), entries.size());
        EXPECT_EQ(parsed.index.offsets[0], c.headerSize) << "data follows the index";
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(parsed.index.names[i], upperAscii(entries[i].name));
            const auto at = archive.begin() + parsed.index.offsets[i];
            EXPECT_EQ(std::vector<std::uint8_t>(at, at + parsed.index.sizes[i]), entries[i].bytes);
        }
        EXPECT_EQ(parsed.index.find("BG01"), 0) << "duplicates are kept in order";
    }
}

TEST(ArchiveWriter, RefusesNamesALayoutCannotHold) {
    struct Case {
        const char* what;
        ArchiveLayout layout;
        std::uint32_t nameField;
        std::string name;
        const char* error; // nullptr: accepted
    };
    const Case cases[] = {
        {"15 bytes fit the script layout", ArchiveLayout::Script, 0, std::string(15, 'a'), nullptr},
        {"16 bytes do not", ArchiveLayout::Script, 0, std::string(16, 'a'),
         "is 16 bytes long; the script layout holds at most 15"},
        {"L - 1 bytes fit", ArchiveLayout::General, 8, std::string(7, 'a'), nullptr},
        {"L bytes do not", ArchiveLayout::General, 8, std::string(8, 'a'),
         "general layout with name field 8 holds at most 7"},
        {"NUL inside a name", ArchiveLayout::General, 32, std::string("a\0b", 3), "contains a NUL byte"},
        {"empty name", ArchiveLayout::General, 32, "", "empty"},
        {"name field 0", ArchiveLayout::General, 0, "a", "name field length must be 1 to 1024"},
        {"name field too long to be read back", ArchiveLayout::General, 1025, "a", "not 1025"},
    };
    for (const auto& c : cases) {
        const std::vector<ArchiveEntry> entries = {{"ok", bytes("x")}, {c.name, bytes("y")}};
        const auto result = buildArchive(c.layout, entries, c.nameField);
        if (!c.error) {
            EXPECT_TRUE(result.has_value()) << c.what << ": " << result.error();
        } else {
            ASSERT_FALSE(result.has_value()) << c.what;
            EXPECT_NE(result.error().find(c.error), std::string::npos) << c.what << ": " << result.error();
        }
    }
}

TEST(ScriptSource, EncodesLinesAsNulEndedNegatedCp932) {
    const std::pair<const char*, std::string> cases[] = {
        {"A\n", std::string("A\0", 2)},
        {"A\r\nB\r\n", std::string("A\0B\0", 4)},
        {"A\nB", std::string("A\0B\0", 4)}, // a last line without LF still ends with NUL
        {"\xEF\xBB\xBF"
         "A\n",
         std::string("A\0", 2)},
        {"\n\n", std::string("\0\0", 2)},
        {"", ""},
        {"テスト\n", std::string("\x83\x65\x83\x58\x83\x67\0", 7)},
    };
    for (const auto& [utf8, plain] : cases) {
        EXPECT_EQ(encodeScriptLines(utf8).value(), plain) << utf8;
        auto stored = encodeScriptSource(utf8).value();
        ASSERT_EQ(stored.size(), plain.size());
        for (std::size_t i = 0; i < plain.size(); ++i)
            EXPECT_EQ(stored[i], static_cast<std::uint8_t>(0u - static_cast<std::uint8_t>(plain[i])));
    }
}

TEST(ScriptSource, ErrorsNameLineAndColumn) {
    struct Case {
        std::string_view utf8;
        std::size_t line, column;
        const char* message;
    };
    const Case cases[] = {
        {"ok\n\xED\x95\x9C\n", 2, 1, "character '\xED\x95\x9C' (U+D55C) cannot be written in CP932"},
        {"ab\r\nテスト\xF0\x9F\x98\x80!\r\n", 2, 4, "(U+1F600) cannot be written in CP932"},
        {"a\rb\n", 1, 2, "carriage return without a line feed"},
        {std::string_view("x\ny\0z", 5), 2, 2, "NUL character"},
        {"abc\xC3", 1, 4, "invalid UTF-8"},
    };
    for (const auto& c : cases) {
        const auto result = encodeScriptSource(c.utf8);
        ASSERT_FALSE(result.has_value()) << c.message;
        EXPECT_EQ(result.error().line, c.line) << c.message;
        EXPECT_EQ(result.error().column, c.column) << c.message;
        EXPECT_NE(result.error().message.find(c.message), std::string::npos) << result.error().message;
    }
}

TEST(ScriptSource, DecodingGivesTheTextBackAndReportsWhatItCannot) {
    const std::string text = "テスト\nname:\"x\"\n\nEND\n";
    const auto decoded = decodeScriptSource(encodeScriptSource(text).value());
    EXPECT_EQ(decoded.text, text);
    EXPECT_TRUE(decoded.problems.empty());

    // 0x85 0x40 is unassigned in CP932; the last line misses its NUL.
    std::vector<std::uint8_t> plain = {'a', 0, 0x85, 0x40, 0, 'b'};
    negateBytes(plain);
    const auto damaged = decodeScriptSource(plain);
    EXPECT_EQ(damaged.text, "a\n\xEF\xBF\xBD\nb\n");
    ASSERT_EQ(damaged.problems.size(), 2u);
    EXPECT_NE(damaged.problems[0].find("line 2 holds bytes that are not CP932"), std::string::npos);
    EXPECT_NE(damaged.problems[1].find("line 3 is not ended by NUL"), std::string::npos);
}

} // namespace
} // namespace veskar
