#pragma once
// The interpreter: walks the main script line by line, feeds text to the
// message window character by character and moves control between labels,
// blocks and scripts.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace veskar {

class Engine;

constexpr std::size_t kScriptBufferSize = 262144;
constexpr int kCallStackSize = 9;
constexpr std::int32_t kNoLine = 16777215;

struct CallStackEntry {
    std::string script; // at most 29 bytes
    std::int32_t returnOffset = 0;
};

class Interpreter {
public:
    explicit Interpreter(Engine& engine);

    // One interpreter step: runs lines until one has to wait.
    void runStep();
    // A click (or skip or auto mode) releases the current click wait.
    void releaseClickWait();
    void resetScriptWaits();

    // Script text, filled by the script loader.
    std::unique_ptr<std::array<std::uint8_t, kScriptBufferSize>> MainScriptBuffer;
    std::int32_t scriptSize = 0;
    std::int32_t readPos = 0;
    std::int32_t lineStart = 0;
    bool needLine = true;
    std::string currentScript;
    std::string loadedScript;
    int callDepth = 0;
    std::array<CallStackEntry, kCallStackSize> callStack;
    std::array<std::string, 10> stringTable; // Shift-JIS, at most 63 bytes each

    // Empties the text being inserted into the current line.
    void discardPendingText();

private:
    Engine& engine_;
};

} // namespace veskar
