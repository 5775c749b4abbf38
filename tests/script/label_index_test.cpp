// The label index against plain scans of the script text from its start: the
// index must give the same answer for every name, every start and every
// script, including two-byte characters whose second byte is a letter.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/sjis.h"
#include "script/label_index.h"

namespace veskar {
namespace {

// --- Reference: the scans the index replaces ---------------------------------

std::string_view lineAt(std::string_view s, std::size_t pos) {
    const std::size_t nul = s.find('\0', pos);
    return s.substr(pos, (nul == std::string_view::npos ? s.size() : nul) - pos);
}

std::int32_t scanLabel(std::string_view s, std::string_view name) {
    for (std::size_t pos = 0; pos < s.size(); ++pos) {
        if (s[pos] != ':') continue;
        const std::size_t end = pos + 1 + name.size();
        if (end >= s.size() || s[end] != 0) continue;
        if (equalsIgnoreAsciiCase(s.substr(pos + 1, name.size()), name))
            return static_cast<std::int32_t>(end + 1);
    }
    return -1;
}

std::int32_t scanLineStart(std::string_view s, std::int32_t from, char byte) {
    for (std::size_t pos = static_cast<std::size_t>(std::max(from, 0)); pos < s.size(); ++pos)
        if (s[pos] == byte && (pos == 0 || s[pos - 1] == 0)) return static_cast<std::int32_t>(pos);
    return -1;
}

std::int32_t scanBlockEnd(std::string_view s, std::int32_t from, std::string_view name) {
    for (std::int32_t pos = scanLineStart(s, from, '}'); pos >= 0; pos = scanLineStart(s, pos + 1, '}')) {
        const std::string_view text = lineAt(s, static_cast<std::size_t>(pos));
        if (text.size() >= 2 && text[1] == ':' && equalsIgnoreAsciiCase(text.substr(2), name)) return pos;
    }
    return -1;
}

std::int32_t scanBlockStart(std::string_view s, std::int32_t from, std::string_view name) {
    for (std::int32_t pos = scanLineStart(s, from, '{'); pos >= 0; pos = scanLineStart(s, pos + 1, '{')) {
        const std::string_view text = lineAt(s, static_cast<std::size_t>(pos));
        if (text.size() >= 2 && text[1] == ':' && startsWithIgnoreAsciiCase(text.substr(2), name)) return pos;
    }
    return -1;
}

LabelIndex indexOf(std::string_view s) {
    LabelIndex index;
    index.build({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
    return index;
}

// Every question about `names` from every offset, index against scan.
void expectSameAsScans(std::string_view s, const std::vector<std::string>& names) {
    const LabelIndex index = indexOf(s);
    for (const auto& name : names) {
        SCOPED_TRACE("name '" + name + "'");
        EXPECT_EQ(index.findLabel(name), scanLabel(s, name));
        for (std::int32_t from = -1; from <= static_cast<std::int32_t>(s.size()) + 1; ++from) {
            ASSERT_EQ(index.findNamedBlockEnd(from, name), scanBlockEnd(s, from, name)) << "from " << from;
            ASSERT_EQ(index.findNamedBlockStart(from, name), scanBlockStart(s, from, name))
                << "from " << from;
        }
    }
    for (const char byte : std::string("{}:;*a\0", 7))
        for (std::int32_t from = -1; from <= static_cast<std::int32_t>(s.size()) + 1; ++from)
            ASSERT_EQ(index.nextLineStartingWith(from, static_cast<std::uint8_t>(byte)),
                      scanLineStart(s, from, byte))
                << "byte " << int(byte) << " from " << from;
}

std::string lines(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (auto p : parts) {
        s += p;
        s.push_back('\0');
    }
    return s;
}

// --- Cases -------------------------------------------------------------------

TEST(LabelIndex, AnswersAsTheScansDo) {
    // "\x82\x61" is a two-byte character whose second byte is 'a': it must not
    // match "\x82\x41", while the single 'a' after it matches 'A'.
    const std::string kana = "\x82\x61";
    const std::string kanaUpper = "\x82\x41";
    struct Case {
        const char* what;
        std::string script;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"labels, first match, any case",
         lines({":Top", "x", ":top", ":TAIL", "*go top"}),
         {"top", "TOP", "tail", "x", "", "go top"}},
        {"a block header is a label; names run to the NUL",
         lines({"{:blk(V001=1)", "}:blk", "{:blk", ":a:b", "text :in text", "}:"}),
         {"blk", "blk(V001=1)", "a:b", "b", "in text", "", "bl", "BLK(v001=1)"}},
        {"second bytes keep their case",
         lines({":" + kana + "a", ":" + kanaUpper + "A", "{:" + kana, "}:" + kana}),
         {kana + "a", kana + "A", kanaUpper + "a", kanaUpper + "A", kana, kanaUpper}},
        {"a lead byte before the colon",
         lines({"\x81:" + kana + "x", "\x81\x81:b", "x\x81:c"}),
         {kana + "x", kana + "X", "b", "B", "c"}},
        {"named blocks nest and prefixes match starts only",
         lines({"{:outer", "{:out", "{:outer2(V1=1)", "}:out", "}:outer", "{:Outer", "}:OUTER"}),
         {"out", "outer", "OUTER2", "o", "", "outer2(v1=1)", "outerx"}},
        {"the last line has no NUL", lines({":a", "{:b", "}:b"}) + ":c", {"a", "b", "c"}},
        {"a last line without NUL still ends a block", lines({"{:b"}) + "}:b", {"b"}},
        {"empty lines and empty names", std::string("\0\0:\0{:\0}:\0", 10), {"", "x"}},
        {"empty script", "", {"", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectSameAsScans(c.script, c.names);
    }
}

TEST(LabelIndex, RandomScriptsAnswerAsTheScansDo) {
    // Scripts from a small alphabet so that names collide, nest and differ
    // only in case, including after lead bytes.
    const std::string alphabet = std::string("::{}aAbB\x82\x81 \0", 12);
    std::mt19937 random(21);
    for (int round = 0; round < 300; ++round) {
        std::string s;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            s.push_back(alphabet[random() % alphabet.size()]);
        std::vector<std::string> names = {""};
        for (int n = 0; n < 6; ++n) {
            std::string name;
            const int nameLength = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < nameLength; ++i)
                name.push_back(alphabet[random() % (alphabet.size() - 1)]); // no NUL: names come from lines
            names.push_back(name);
        }
        SCOPED_TRACE("round " + std::to_string(round));
        expectSameAsScans(s, names);
        if (HasFatalFailure()) return;
    }
}

TEST(LabelIndex, LongLinesOfColonsIndexInLinearTime) {
    // Every ":" of a line names a label; a line of colons must not cost the
    // square of its length. Two copies, so the second finds the first's names taken.
    std::string s(131071, ':');
    s.push_back('\0');
    s += s;
    const LabelIndex index = indexOf(s);
    EXPECT_EQ(index.findLabel(""), 131072);
    EXPECT_EQ(index.findLabel(std::string(5000, ':')), 131072);
    EXPECT_EQ(index.findLabel(std::string(131070, ':')), 131072);
    EXPECT_EQ(index.findLabel(std::string(131071, ':')), -1);
}

} // namespace
} // namespace veskar
