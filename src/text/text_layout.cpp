#include "text/text_layout.h"

#include <algorithm>
#include <cstring>

#include "shell/engine.h"
#include "text/plain_text.h"

namespace veskar {

namespace {

constexpr int kFullScreenTextRegister = 150; // S150
constexpr int kWrappedRowRegister = 38;      // S038

constexpr int kRubyPixelSize = 9;
constexpr int kRubyOffsetX = 3;
constexpr int kRubyOffsetY = -7;

// Positions come from the game definition times the cursor; far outside the
// screen they only have to stay far outside, without overflowing.
constexpr long long kFarAway = 1 << 24;

int clampPosition(long long v) { return static_cast<int>(std::clamp(v, -kFarAway, kFarAway)); }

constexpr std::array<std::uint16_t, 33> kNoLineStartCodes = {
    0x8140, 0x8141, 0x8142, 0x8148, 0x8149, 0x815B, 0x8160, 0x816A, 0x8176, 0x8178, 0x8193,
    0x81F4, 0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82C1, 0x82E1, 0x82E3, 0x82E5, 0x82EC,
    0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8362, 0x8383, 0x8385, 0x8387, 0x838E, 0x8396,
};

// The bytes of the character stored at `column` of a grid row: two for a
// byte of 0x80 or more (when the row has room for the second), else one.
std::string_view storedChar(const std::array<std::uint8_t, kPageColumns>& row, int column) {
    const auto* at = reinterpret_cast<const char*>(row.data() + column);
    const bool twoBytes = row[static_cast<std::size_t>(column)] >= 0x80 && column + 1 < kPageColumns;
    return {at, twoBytes ? 2u : 1u};
}

} // namespace

bool isNoLineStart(std::uint16_t code) {
    return std::find(kNoLineStartCodes.begin(), kNoLineStartCodes.end(), code) != kNoLineStartCodes.end();
}

TextLayout::TextLayout(Engine& engine) : engine_(engine) {}

bool TextLayout::fullScreenText() const { return engine_.vars.S(kFullScreenTextRegister) != 0; }

PageGeometry TextLayout::geometry() const {
    const auto& d = engine_.definition;
    if (fullScreenText())
        return {d.TX2_OFS_X, d.TX2_OFS_Y, d.TX2_PITCH_X, d.TX2_PITCH_Y, d.MOJI_MAX2_X, d.MOJI_MAX2_Y};
    return {clampPosition(static_cast<long long>(d.TXW_OFS_X) + d.TX_OFS_X),
            clampPosition(static_cast<long long>(d.TXW_OFS_Y) + d.TX_OFS_Y),
            d.TX_PITCH_X,
            d.TX_PITCH_Y,
            d.MOJI_MAX_X,
            d.MOJI_MAX_Y};
}

TextLayout::Position TextLayout::cellPosition(int column, int row) const {
    const PageGeometry g = geometry();
    return {clampPosition(g.originX + static_cast<long long>(column) * g.pitchX),
            clampPosition(g.originY + static_cast<long long>(row) * g.pitchY)};
}

void TextLayout::emitChar(std::string_view bytes, int width) {
    if (!engine_.run.WindowShown) newPage();
    const bool windowMode = !fullScreenText();
    const long long lineWidth = geometry().lineWidth;
    const std::string_view ch = bytes.substr(0, static_cast<std::size_t>(std::max(width, 0)));
    const std::uint16_t code = layoutCode(ch);
    auto& wrappedRow = engine_.vars.S(kWrappedRowRegister);

    // Row 0 of the window holds the speaker's name.
    if (windowMode && textColumn == 0 && textRow == 0 && !engine_.interp.nameAsText) textRow = 1;

    if (textColumn >= lineWidth) {
        // Closing punctuation and small kana hang in the two columns past the
        // edge rather than start the next row.
        const bool hangs = isNoLineStart(code) && textColumn < lineWidth + 2;
        if (!hangs) {
            textColumn = 0;
            ++textRow;
            engine_.interp.closeLogEntry();
            wrappedRow = 1;
        }
    }

    if (windowMode && textColumn == 0 && textRow != 0 && !isOpeningBracket(code)) textColumn = 2;

    // A wrapped row does not begin with the space that separated the words
    // on the row above; a script line may still open with one.
    if (windowMode && textColumn == 2 && wrappedRow == 1 && code == kIdeographicSpace) return;

    storeChar(ch, textColumn, textRow);
    DrawCharAt(ch, textColumn, textRow);
    ++pageChars;
    textColumn += wideSpacing != 0 ? 3 : width;
}

void TextLayout::storeChar(std::string_view bytes, int column, int row) {
    // A character that does not fit the grid is drawn but not kept; a
    // two-byte character is kept whole or not at all.
    if (row < 0 || row >= kPageRows || column < 0 || column >= kPageColumns) return;
    if (bytes.size() > 1 && column + 1 >= kPageColumns) return;
    auto& cells = pageGrid[static_cast<std::size_t>(row)];
    cells[static_cast<std::size_t>(column)] = bytes.empty() ? 0 : static_cast<std::uint8_t>(bytes[0]);
    if (column + 1 < kPageColumns)
        cells[static_cast<std::size_t>(column) + 1] =
            bytes.size() > 1 ? static_cast<std::uint8_t>(bytes[1]) : 0;
}

void TextLayout::drawCell(std::string_view bytes, int column, int row) {
    auto& next = engine_.pictures.nextScreen;
    engine_.glyphs.PrepareGlyph(bytes);
    const Position at = cellPosition(column, row);
    engine_.glyphs.DrawGlyph(next, at.x, at.y);
    engine_.host.windowPicture().copyFrom(next, at.x, at.y, kGlyphCellWidth, kGlyphCellHeight, at.x, at.y);
}

void TextLayout::DrawCharAt(std::string_view bytes, int column, int row) {
    pageEmpty = false;
    drawCell(bytes, column, row);
    engine_.host.present();
}

void TextLayout::RedrawWindowText() {
    if (pageEmpty) return;
    const PageGeometry g = geometry();
    int firstRow = 0;
    if (!fullScreenText()) {
        const auto& nameRow = pageGrid[0];
        const auto* name = reinterpret_cast<const char*>(nameRow.data());
        engine_.window.DrawNamePlate(std::string_view(name, ::strnlen(name, nameRow.size())));
        firstRow = 1;
    }
    const int rows = std::clamp(g.rows, 0, kPageRows);
    const int columns = static_cast<int>(
        std::clamp(static_cast<long long>(g.lineWidth) + 2, 0LL, static_cast<long long>(kPageColumns)));
    for (int r = firstRow; r < rows; ++r) {
        const auto& cells = pageGrid[static_cast<std::size_t>(r)];
        for (int c = 0; c < columns;) {
            const std::string_view ch = storedChar(cells, c);
            if (ch[0] != 0) drawCell(ch, c, r);
            c += static_cast<int>(ch.size());
        }
    }
    engine_.host.present();
}

void TextLayout::newPage() {
    resetPage();
    engine_.glyphs.resetTextColour();
    if (fullScreenText())
        newPageFullScreen();
    else
        newPageWindow();
}

void TextLayout::newPageFullScreen() {
    auto& pictures = engine_.pictures;
    auto& window = engine_.window;
    auto& run = engine_.run;
    if (run.WindowShown) {
        pictures.nextScreen = window.DarkenedScreen;
        // The quick-button bar is redrawn here once it exists.
        window.DrawMessageWindow();
    } else {
        pictures.prevScreen = pictures.nextScreen;
        pictures.nextScreen = window.DarkenedScreen;
        // The quick-button bar is drawn here once it exists.
        if (!run.SkipActive) engine_.screen.FadePreset(1);
        run.WindowShown = true;
    }
    engine_.screen.show(pictures.nextScreen);
}

void TextLayout::newPageWindow() {
    auto& pictures = engine_.pictures;
    auto& window = engine_.window;
    auto& run = engine_.run;
    const auto& d = engine_.definition;
    if (run.WindowShown) {
        // Only the window's area changes: the clean window over the text.
        const Picture& clean = window.ComposedWindow;
        pictures.nextScreen.copyFrom(clean, 0, 0, clean.width(), clean.height(), d.TXW_OFS_X, d.TXW_OFS_Y);
        engine_.host.windowPicture().copyFrom(clean, 0, 0, clean.width(), clean.height(), d.TXW_OFS_X,
                                              d.TXW_OFS_Y);
        engine_.host.present();
    } else {
        // Opened at once, without the fade of `win_open`.
        run.WindowShown = true;
        window.DrawMessageWindow();
        engine_.screen.show(pictures.nextScreen);
    }
    engine_.interp.nameplateText.clear();
}

void TextLayout::resetPage() {
    textColumn = 0;
    textRow = 0;
    for (auto& row : pageGrid)
        row.fill(0);
    for (auto& row : secondGrid)
        row.fill(0);
    pageEmpty = true;
    wideSpacing = 0;
    textColorIndex = 0;
    pageChars = 0;
    engine_.vars.S(kWrappedRowRegister) = 0;
}

void TextLayout::DrawRuby(std::string_view text) {
    if (!fullScreenText() && textColumn == 0 && textRow == 0 && !engine_.interp.nameAsText) textRow = 1;
    const PageGeometry g = geometry();
    // Over the character put next: an empty row starts indented, and a full
    // row continues on the next one.
    int column = textColumn;
    int row = textRow;
    if (textColumn == 0) {
        column = 2;
    } else if (textColumn == g.lineWidth) {
        column = 2;
        row = textRow + 1;
    }
    const Position cell = cellPosition(column, row);
    const int x = clampPosition(static_cast<long long>(cell.x) + kRubyOffsetX);
    const int y = clampPosition(static_cast<long long>(cell.y) + kRubyOffsetY);

    if (engine_.fonts == nullptr) return;
    PlainTextStyle style;
    style.faceName = engine_.settings.FontName;
    style.pixelSize = kRubyPixelSize;
    style.bold = false;
    style.colour = makeColour(255, 255, 255);
    drawPlainText(*engine_.fonts, style, text, engine_.pictures.nextScreen, x, y);
    drawPlainText(*engine_.fonts, style, text, engine_.host.windowPicture(), x, y);
    engine_.host.present();
}

} // namespace veskar
