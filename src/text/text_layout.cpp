#include "text/text_layout.h"

#include <algorithm>
#include <cstring>

#include "core/sjis.h"
#include "script/registers.h"
#include "shell/engine.h"
#include "text/plain_text.h"

namespace veskar {

namespace {

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

// The bytes of the character stored at `column` of a grid row (a lead byte
// in the last column stands alone); an empty cell holds a single 0.
std::string_view storedChar(const std::array<std::uint8_t, kPageColumns>& row, int column) {
    const std::string_view rest(reinterpret_cast<const char*>(row.data() + column),
                                static_cast<std::size_t>(kPageColumns - column));
    return rest.substr(0, rest[0] == 0 ? 1 : charLength(rest));
}

} // namespace

bool isNoLineStart(std::uint16_t code) {
    return std::find(kNoLineStartCodes.begin(), kNoLineStartCodes.end(), code) != kNoLineStartCodes.end();
}

TextLayout::TextLayout(Engine& engine) : engine_(engine) {}

bool TextLayout::fullScreenText() const { return engine_.vars.S(reg::kFullScreenText) != 0; }

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
    auto& wrappedRow = engine_.vars.S(reg::kWrappedRow);

    // Row 0 of the window holds the speaker's name.
    if (windowMode && st_.textColumn == 0 && st_.textRow == 0 && !engine_.interp.nameAsText) st_.textRow = 1;

    if (st_.textColumn >= lineWidth) {
        // Closing punctuation and small kana hang in the two columns past the
        // edge rather than start the next row.
        const bool hangs = isNoLineStart(code) && st_.textColumn < lineWidth + 2;
        if (!hangs) {
            st_.textColumn = 0;
            ++st_.textRow;
            engine_.interp.closeLogEntry();
            wrappedRow = 1;
        }
    }

    if (windowMode && st_.textColumn == 0 && st_.textRow != 0 && !isOpeningBracket(code)) st_.textColumn = 2;

    // A wrapped row does not begin with the space that separated the words
    // on the row above; a script line may still open with one.
    if (windowMode && st_.textColumn == 2 && wrappedRow == 1 && code == kIdeographicSpace) return;

    storeChar(ch, st_.textColumn, st_.textRow);
    DrawCharAt(ch, st_.textColumn, st_.textRow);
    ++pageChars;
    st_.textColumn += st_.wideSpacing != 0 ? 3 : width;
}

void TextLayout::storeChar(std::string_view bytes, int column, int row) {
    // A character that does not fit the grid is drawn but not kept; a
    // two-byte character is kept whole or not at all.
    if (row < 0 || row >= kPageRows || column < 0 || column >= kPageColumns) return;
    if (bytes.size() > 1 && column + 1 >= kPageColumns) return;
    auto& cells = st_.pageGrid[static_cast<std::size_t>(row)];
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
    st_.pageEmpty = false;
    drawCell(bytes, column, row);
    // Only the character's cell changed.
    const Position at = cellPosition(column, row);
    engine_.host.present({at.x, at.y, kGlyphCellWidth, kGlyphCellHeight});
}

void TextLayout::RedrawWindowText() {
    if (st_.pageEmpty) return;
    const PageGeometry g = geometry();
    int firstRow = 0;
    if (!fullScreenText()) {
        const auto& nameRow = st_.pageGrid[0];
        const auto* name = reinterpret_cast<const char*>(nameRow.data());
        engine_.window.DrawNamePlate(std::string_view(name, ::strnlen(name, nameRow.size())));
        firstRow = 1;
    }
    const int rows = std::clamp(g.rows, 0, kPageRows);
    const int columns = static_cast<int>(
        std::clamp(static_cast<long long>(g.lineWidth) + 2, 0LL, static_cast<long long>(kPageColumns)));
    for (int r = firstRow; r < rows; ++r) {
        const auto& cells = st_.pageGrid[static_cast<std::size_t>(r)];
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
        // PENDING(quick-button bar): redrawn here.
        window.DrawMessageWindow();
    } else {
        pictures.prevScreen = pictures.nextScreen;
        pictures.nextScreen = window.DarkenedScreen;
        // PENDING(quick-button bar): drawn here.
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
        engine_.screen.showArea(pictures.nextScreen,
                                {d.TXW_OFS_X, d.TXW_OFS_Y, clean.width(), clean.height()});
    } else {
        // Opened at once, without the fade of `win_open`.
        run.WindowShown = true;
        window.DrawMessageWindow();
        engine_.screen.show(pictures.nextScreen);
    }
    engine_.interp.clearNameplate();
}

void TextLayout::resetPage() {
    st_.textColumn = 0;
    st_.textRow = 0;
    for (auto& row : st_.pageGrid)
        row.fill(0);
    for (auto& row : st_.secondGrid)
        row.fill(0);
    st_.pageEmpty = true;
    st_.wideSpacing = 0;
    st_.textColorIndex = 0;
    pageChars = 0;
    engine_.vars.S(reg::kWrappedRow) = 0;
}

void TextLayout::moveCursorHome() {
    st_.textColumn = 0;
    st_.textRow = 0;
}

void TextLayout::homeCursorAndStyle() {
    moveCursorHome();
    st_.wideSpacing = 0;
    st_.textColorIndex = 0;
}

void TextLayout::nextRow() {
    st_.textColumn = 0;
    ++st_.textRow;
}

void TextLayout::putNameInFirstRow(std::string_view name) {
    auto& row = st_.pageGrid[0];
    row.fill(0);
    const std::size_t n = std::min(name.size(), row.size() - 1);
    std::copy_n(name.begin(), n, row.begin());
}

void TextLayout::DrawRuby(std::string_view text) {
    if (!fullScreenText() && st_.textColumn == 0 && st_.textRow == 0 && !engine_.interp.nameAsText)
        st_.textRow = 1;
    const PageGeometry g = geometry();
    // Over the character put next: an empty row starts indented, and a full
    // row continues on the next one.
    int column = st_.textColumn;
    int row = st_.textRow;
    if (st_.textColumn == 0) {
        column = 2;
    } else if (st_.textColumn == g.lineWidth) {
        column = 2;
        row = st_.textRow + 1;
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
