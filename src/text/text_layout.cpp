#include "text/text_layout.h"

#include "shell/engine.h"

namespace veskar {

TextLayout::TextLayout(Engine& engine) : engine_(engine) {}

void TextLayout::emitChar(std::string_view, int width) {
    textColumn += width;
    pageChars += 1;
}

void TextLayout::newPage() {
    resetPage();
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
    engine_.vars.S(38) = 0;
}

void TextLayout::DrawCharAt(std::string_view, int, int) {}
void TextLayout::RedrawWindowText() {}
void TextLayout::DrawRuby(std::string_view) {}

} // namespace veskar
