// From the scaled view back to the game: where the picture sits, which view
// positions are game positions, and Qt keys as virtual-key codes.

#include <gtest/gtest.h>

#include "backends/qt/key_map.h"
#include "backends/qt/view_fit.h"
#include "platform/keys.h"

namespace veskar {
namespace {

TEST(ViewFit, PictureIsScaledToFitAndCentred) {
    struct Case {
        QSize view;
        QRect expected;
        bool sharp;
    };
    const Case cases[] = {
        {{800, 600}, {0, 0, 800, 600}, true},
        {{1600, 1200}, {0, 0, 1600, 1200}, true},
        {{1920, 1080}, {240, 0, 1440, 1080}, false}, // bars left and right
        {{800, 900}, {0, 150, 800, 600}, true},      // bars above and below
        {{400, 300}, {0, 0, 400, 300}, false},       // smaller than the game: smooth
        {{0, 600}, {}, false},
    };
    for (const Case& c : cases) {
        const QRect r = fitGameRect(c.view);
        EXPECT_EQ(r, c.expected) << c.view.width() << "x" << c.view.height();
        EXPECT_EQ(isWholeMultiple(r, 1.0), c.sharp) << c.view.width() << "x" << c.view.height();
    }
    // On a screen with two device pixels per point, 800 x 600 points is a whole multiple.
    EXPECT_TRUE(isWholeMultiple({0, 0, 800, 600}, 2.0));
    EXPECT_FALSE(isWholeMultiple({0, 0, 800, 600}, 1.5));
}

TEST(ViewFit, ViewPositionsMapBackToGamePositions) {
    const QRect wide = fitGameRect({1920, 1080}); // (240,0) 1440 x 1080, scale 1.8
    struct Case {
        QPoint view;
        std::optional<Point> game;
        Point clamped;
    };
    const Case cases[] = {
        {{240, 0}, Point{0, 0}, {0, 0}},
        {{1679, 1079}, Point{799, 599}, {799, 599}},
        {{960, 540}, Point{400, 300}, {400, 300}},
        {{241, 1}, Point{0, 0}, {0, 0}}, // still inside the first game pixel
        {{242, 2}, Point{1, 1}, {1, 1}},
        {{100, 540}, std::nullopt, {0, 300}},    // on the left bar
        {{1700, 540}, std::nullopt, {799, 300}}, // on the right bar
        {{239, -5}, std::nullopt, {0, 0}},       // outside the view
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toGamePoint(c.view, wide), c.game) << c.view.x() << "," << c.view.y();
        EXPECT_EQ(toGamePointClamped(c.view, wide), c.clamped) << c.view.x() << "," << c.view.y();
    }
}

TEST(KeyMap, QtKeysBecomeVirtualKeyCodes) {
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        int expected;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {Qt::Key_5, Qt::NoModifier, '5'},
        {Qt::Key_5, Qt::KeypadModifier, 0x65},
        {Qt::Key_Return, Qt::NoModifier, keys::Return},
        {Qt::Key_Enter, Qt::KeypadModifier, keys::Return},
        {Qt::Key_Control, Qt::ControlModifier, keys::Control},
        {Qt::Key_Shift, Qt::ShiftModifier, keys::Shift},
        {Qt::Key_Escape, Qt::NoModifier, keys::Escape},
        {Qt::Key_Space, Qt::NoModifier, keys::Space},
        {Qt::Key_PageUp, Qt::NoModifier, keys::PageUp},
        {Qt::Key_Down, Qt::NoModifier, keys::Down},
        {Qt::Key_Backtab, Qt::ShiftModifier, keys::Tab},
        {Qt::Key_F1, Qt::NoModifier, keys::F1},
        {Qt::Key_F12, Qt::NoModifier, keys::F1 + 11},
        // Qt's code for '!' is 0x21, PageUp's virtual key: it must not pass through.
        {Qt::Key_Exclam, Qt::ShiftModifier, 0},
        {Qt::Key_F13, Qt::NoModifier, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowsKeyCode(c.qtKey, c.modifiers), c.expected) << std::hex << c.qtKey;
}

} // namespace
} // namespace veskar
