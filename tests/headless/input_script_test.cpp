// The --input file of headless runs.

#include <gtest/gtest.h>

#include "backends/headless/input_script.h"
#include "platform/keys.h"

namespace veskar {
namespace {

TEST(InputScript, ReadsEveryEventKind) {
    const auto parsed = parseInputScript(R"(# comment
        300 key down Ctrl
        100 click right 10 20   # press and release
        200 move 5 6
        300 key up a
        400 wheel -120 1 2
        500 close
        answer cancel
        answer YES
    )");
    ASSERT_TRUE(parsed) << parsed.error();
    const auto& e = parsed->events;
    ASSERT_EQ(e.size(), 7u);
    EXPECT_EQ(e[0].kind, InputEvent::Kind::Press);
    EXPECT_EQ(e[0].button, MouseButton::Right);
    EXPECT_EQ(e[0].position, (Point{10, 20}));
    EXPECT_EQ(e[1].kind, InputEvent::Kind::Release);
    EXPECT_EQ(e[2].kind, InputEvent::Kind::Move);
    // Equal times keep their order in the file.
    EXPECT_EQ(e[3].kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(e[3].key, keys::Control);
    EXPECT_EQ(e[4].kind, InputEvent::Kind::KeyUp);
    EXPECT_EQ(e[4].key, 'A');
    EXPECT_EQ(e[5].delta, -120);
    EXPECT_EQ(e[6].kind, InputEvent::Kind::Close);
    EXPECT_EQ(parsed->answers, (std::vector<MessageAnswer>{MessageAnswer::Cancel, MessageAnswer::Yes}));
}

TEST(InputScript, NamesTheLineOfAnError) {
    const std::pair<const char*, const char*> cases[] = {
        {"100 clack left 1 2", "line 1: unknown event 'clack'"},
        {"\n100 click left 1", "line 2: expected x and y after the button"},
        {"x click left 1 2", "line 1: expected a time in milliseconds or 'answer', found 'x'"},
        {"100 key down Hyper", "line 1: unknown key 'Hyper'"},
        {"answer maybe", "line 1: unknown answer 'maybe' (ok, cancel, yes or no)"},
        {"-5 close", "line 1: expected a time in milliseconds or 'answer', found '-5'"},
    };
    for (const auto& [text, message] : cases) {
        const auto parsed = parseInputScript(text);
        ASSERT_FALSE(parsed) << text;
        EXPECT_EQ(parsed.error(), message);
    }
}

} // namespace
} // namespace veskar
