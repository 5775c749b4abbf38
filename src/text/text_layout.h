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

    PageGrid pageGrid{};
    PageGrid secondGrid{};
    int textColumn = 0;
    int textRow = 0;
    int wideSpacing = 0;
    int textColorIndex = 0;
    int pageChars = 0;
    bool pageEmpty = true;

private:
    Engine& engine_;
};

} // namespace veskar
