// Calls into subsystems that are not built yet. Each becomes a call into
// its subsystem when that arrives; until then only the page counters move.

#include "script/interpreter.h"
#include "shell/engine.h"

namespace veskar {

// Placing, wrapping and drawing arrive with the text layout.
void Interpreter::emitChar(std::string_view) {
    page.textColumn += 1;
    page.pageChars += 1;
}

// Clearing the window and showing it arrive with the text layout.
void Interpreter::newPage() {
    resetPage();
}

// The page grid arrives with the text layout.
void Interpreter::resetPage() {
    page.textColumn = 0;
    page.textRow = 0;
    page.pageChars = 0;
}

// Ruby drawing arrives with the text layout.
void Interpreter::DrawRuby(std::string_view) {}

// The name plate arrives with the message window.
void Interpreter::DrawNamePlate(std::string_view) {}

// The page grid arrives with the text layout.
void Interpreter::putNameInPageGrid(std::string_view) {}

// The page history arrives with the backlog view.
void Interpreter::RecordPage(bool) {}

void Interpreter::graTag(std::string_view args) { engine_.scene.gra(args); }

// After the command's own update (none without a number) the tag shows the
// cleared layers at once.
void Interpreter::clrbTag(std::string_view args) {
    engine_.scene.clrb(args);
    engine_.screen.UpdateScreen(4);
}

// Voices and the page's voice list arrive with sound.
void Interpreter::cvTag(std::string_view) {}

} // namespace veskar
