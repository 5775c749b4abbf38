#pragma once
// Where each character of the story text goes: the page grid of the message
// window (or of the full-screen text mode), line breaks under the Japanese
// line-start rule, indentation, page clearing and redrawing, and ruby.

#include <array>
#include <cstdint>
#include <string_view>

namespace veskar {

class Engine;

constexpr int kPageRows = 20;
constexpr int kPageColumns = 100;

using PageGrid = std::array<std::array<std::uint8_t, kPageColumns>, kPageRows>;

// The code a character is judged by: first byte x 256 + second byte, the
// second being 0 for a one-byte character.
constexpr std::uint16_t layoutCode(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto first = static_cast<std::uint8_t>(bytes[0]);
    const auto second = bytes.size() > 1 ? static_cast<std::uint8_t>(bytes[1]) : std::uint8_t{0};
    return static_cast<std::uint16_t>(first << 8 | second);
}

// Characters that may not begin a wrapped line: the ideographic space,
// closing punctuation and brackets, the prolonged sound mark and the small
// kana. A character arriving past the line's end that is one of these hangs
// in the margin instead of wrapping.
bool isNoLineStart(std::uint16_t code);

// 「 （ 『: a row that opens with one of them is not indented.
constexpr bool isOpeningBracket(std::uint16_t code) {
    return code == 0x8175 || code == 0x8169 || code == 0x8177;
}

constexpr std::uint16_t kIdeographicSpace = 0x8140;

// Where the page lies on the screen in the current text mode.
struct PageGeometry {
    int originX = 0;
    int originY = 0;
    int pitchX = 0;
    int pitchY = 0;
    int lineWidth = 0; // half-width columns
    int rows = 0;      // rows a redraw covers
};

class TextLayout {
public:
    explicit TextLayout(Engine& engine);

    // One character (width 1 or 2 bytes) from the interpreter.
    void emitChar(std::string_view bytes, int width);
    // A new page: cleared and shown, opening the window when it is closed.
    void newPage();
    // Page state to empty, drawing nothing.
    void resetPage();
    void DrawCharAt(std::string_view bytes, int column, int row);
    // Draws the whole page again into nextScreen and onto the display.
    void RedrawWindowText();
    // Ruby above the character put next; not kept in the page.
    void DrawRuby(std::string_view text);

    // The layout of the window mode or of the full-screen text mode (S150).
    PageGeometry geometry() const;
    bool fullScreenText() const;
    // Top-left corner of the cell at (column, row), kept well inside int.
    struct Position {
        int x = 0;
        int y = 0;
    };
    Position cellPosition(int column, int row) const;

    // What a saved game holds of the page.
    struct State {
        PageGrid pageGrid{};
        PageGrid secondGrid{};
        int textColumn = 0;
        int textRow = 0;
        int wideSpacing = 0;
        int textColorIndex = 0;
        bool pageEmpty = true;
    };
    const State& state() const { return st_; }
    State& state() { return st_; }

    // --- The cursor and the text style, as the interpreter moves them -------
    // Row 0, column 0.
    void moveCursorHome();
    // The cursor home and the style plain, the page kept (closing the window).
    void homeCursorAndStyle();
    // The start of the next row.
    void nextRow();
    // One row down, the column kept (an empty script line).
    void skipRow() { ++st_.textRow; }
    void setWideSpacing(bool wide) { st_.wideSpacing = wide ? 1 : 0; }
    void setTextColorIndex(int index) { st_.textColorIndex = index; }
    // The speaker's name in row 0 of the page grid.
    void putNameInFirstRow(std::string_view name);
    // The next character starts a new page in the window.
    void markPageEmpty() { st_.pageEmpty = true; }

    // Scratch: characters on the page so far (auto mode reads them).
    int pageChars = 0;

private:
    // Prepares and draws one character into nextScreen and copies its cell
    // to the display picture (the caller presents).
    void drawCell(std::string_view bytes, int column, int row);
    void storeChar(std::string_view bytes, int column, int row);
    void newPageFullScreen();
    void newPageWindow();

    State st_;
    Engine& engine_;
};

} // namespace veskar
