#include "script/interpreter.h"

#include "shell/engine.h"

namespace veskar {

Interpreter::Interpreter(Engine& engine)
    : MainScriptBuffer(std::make_unique<std::array<std::uint8_t, kScriptBufferSize>>()), engine_(engine) {}

// Line handling arrives with the interpreter proper.
void Interpreter::runStep() {}

void Interpreter::releaseClickWait() { engine_.run.ClickWaitKind = 0; }

void Interpreter::resetScriptWaits() {}

void Interpreter::discardPendingText() {}

} // namespace veskar
