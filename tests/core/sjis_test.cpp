// Shift-JIS helpers.

#include <gtest/gtest.h>

#include "core/sjis.h"

namespace veskar {
namespace {

TEST(Sjis, CutTextNeverSplitsATwoByteCharacter) {
    const std::string name = "ab" + sjisText("あい"); // 2 + 2 * 2 bytes
    const std::pair<std::size_t, std::string> cases[] = {
        {0, ""},   {2, "ab"},  {3, "ab"}, {4, "ab" + sjisText("あ")}, {5, "ab" + sjisText("あ")},
        {6, name}, {99, name},
    };
    for (const auto& [limit, expected] : cases)
        EXPECT_EQ(cutText(name, limit), expected) << limit;
}

TEST(Sjis, ConvertsBothWaysAndNamesWhatCannotBeWritten) {
    EXPECT_EQ(cp932ToUtf8(sjisText("ゲームを終了しますか？")), "ゲームを終了しますか？");
    EXPECT_EQ(cp932ToUtf8("\x82\xA0\x82"), "あ\xEF\xBF\xBD") << "a lone lead byte shows as a replacement";
    const auto bad = utf8ToCp932("ok \xF0\x9F\x98\x80");
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().offset, 3u);
}

} // namespace
} // namespace veskar
