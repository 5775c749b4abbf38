// The interpreter's calls into the text layout, the message window, the
// scene and the subsystems that are not built yet.

#include <algorithm>

#include "script/interpreter.h"
#include "shell/engine.h"

namespace veskar {

void Interpreter::emitChar(std::string_view bytes) {
    engine_.layout.emitChar(bytes, static_cast<int>(bytes.size()));
}

void Interpreter::newPage() { engine_.layout.newPage(); }

void Interpreter::DrawRuby(std::string_view text) { engine_.layout.DrawRuby(text); }

void Interpreter::DrawNamePlate(std::string_view name) { engine_.window.DrawNamePlate(name); }

void Interpreter::putNameInPageGrid(std::string_view name) { engine_.layout.putNameInFirstRow(name); }

// PENDING(backlog): the page history.
void Interpreter::RecordPage(bool) {}

void Interpreter::graTag(std::string_view args) { engine_.scene.gra(args); }

// After the command's own update (none without a number) the tag shows the
// cleared layers at once.
void Interpreter::clrbTag(std::string_view args) {
    engine_.scene.clrb(args);
    engine_.screen.UpdateScreen(4);
}

void Interpreter::cvTag(std::string_view name) { engine_.sound.voiceTag(name); }

} // namespace veskar
