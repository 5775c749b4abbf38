#pragma once
// The interpreter: walks the main script line by line, feeds text to the
// message window character by character and moves control between labels,
// blocks and scripts.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "archive/script_loader.h"
#include "script/commands.h"
#include "script/flow.h"
#include "script/label_index.h"
#include "script/trace.h"

namespace veskar {

class Engine;

constexpr int kCallStackSize = 9;
constexpr std::int32_t kNoLine = 16777215;
constexpr std::size_t kLineBufferSize = 2048;
// Script names, string slots and inserted texts keep one byte for the NUL of
// the fixed fields they are saved in.
constexpr std::size_t kScriptNameMax = 29;
constexpr std::size_t kStringSlotMax = 63;
constexpr int kStringSlots = 10;
// The slot that holds the chapter title.
constexpr int kTitleSlot = 9;

struct CallStackEntry {
    std::string script; // at most 29 bytes
    std::int32_t returnOffset = 0;
};

class Interpreter {
public:
    explicit Interpreter(Engine& engine);
    ~Interpreter();

    // One interpreter step: runs lines until one has to wait.
    void runStep();
    // A click (or skip or auto mode) releases the current click wait.
    void releaseClickWait();
    // Entering a script by `chain` or a successful `call`.
    void resetScriptWaits();
    // Sets AutoCountdown for the click wait that begins now.
    void computeAutoWait();
    // Ends the current backlog entry.
    void closeLogEntry();
    // Empties the text being inserted into the current line.
    void discardPendingText();

    // Moves to the line after ":name"; a missing label changes nothing.
    // Returns whether the label was found.
    bool gotoLabel(std::string_view name);
    // Offset just past the NUL of the label line ":name", or -1.
    std::int32_t findLabel(std::string_view name) const;
    std::int32_t nextLineStartingWith(std::int32_t from, std::uint8_t byte) const;
    std::int32_t findNamedBlockEnd(std::int32_t from, std::string_view name) const;
    std::int32_t findNamedBlockStart(std::int32_t from, std::string_view name) const;
    // Offset of the line after the one containing `pos` (past its NUL).
    std::int32_t lineAfter(std::int32_t pos) const;
    // The NUL-terminated text at `pos` of the script buffer.
    std::string_view scriptLineAt(std::int32_t pos) const;

    // Loads a main script by name; false (nothing changed) when it is missing.
    bool loadMainScript(std::string_view name);

    // "SCRIPT:LINE" of the current line (lines counted from 1), empty before a script is loaded.
    std::string location() const;

    // The current line, up to its NUL.
    std::string_view line() const;
    // Replaces the current line (the `if` command hands its target back this way).
    void setLine(std::string_view text);

    // What a saved game holds of the interpreter.
    struct State {
        std::int32_t readPos = 0;
        std::int32_t lineStart = 0;
        std::int32_t linePos = 0;
        std::int32_t scriptSize = 0;
        bool needLine = true;
        std::array<std::uint8_t, kLineBufferSize> lineBuffer{};
        std::string currentScript;
        std::string loadedScript;
        int callDepth = 0;
        std::array<CallStackEntry, kCallStackSize> callStack;
        std::array<std::string, kStringSlots> stringTable; // Shift-JIS, at most 63 bytes each
        int charDelay = 1;
        std::string nameplateText; // at most 63 bytes
    };
    State& state() { return st_; }
    const State& state() const { return st_; }

    // The next step starts by reading a new line.
    void requestLine() { st_.needLine = true; }
    // Moves to `pos` of the script and reads the line there next.
    void jumpTo(std::int32_t pos) {
        st_.readPos = pos;
        st_.needLine = true;
    }
    // Stores a string slot (0-9), cut at a whole character to 63 bytes.
    void setStringSlot(int slot, std::string_view text);
    const std::string& stringSlot(int slot) const;
    // The name plate's text is forgotten with the page.
    void clearNameplate() { st_.nameplateText.clear(); }
    // Empties every string slot (start-up).
    void clearStringSlots();
    // Back to the caller of the running script: false at the outermost level.
    // A caller that cannot be loaded again leaves the script at its end.
    bool returnFromCall();

    // Scratch: the script text (loaded again from `loadedScript`) and what the
    // current line is doing.
    std::unique_ptr<std::array<std::uint8_t, kScriptBufferSize>> MainScriptBuffer;
    // Built whenever MainScriptBuffer is filled.
    LabelIndex labelIndex;
    std::string insertBuffer; // at most 63 bytes
    std::size_t insertPos = 0;
    bool TextHurry = false;
    bool nameAsText = false;
    // The last `mark` met a passage read before.
    bool alreadyRead = false;

    Commands commands;
    Trace trace;

private:
    Flow dispatchLine();
    Flow runCommandLine();
    Flow runNameLine();
    Flow pageEndLine(int kind, bool record);
    Flow continueWaitLine();
    void readLine();
    void endOfScript();
    // The character loop; returns GoOn when the next line is to be read in
    // this step, EndStep when the step ends.
    Flow textLoop();
    // Handles "[" at linePos; returns whether the step ends.
    Flow inlineTag();
    Flow ruby();
    void insertText(std::string_view text);
    void appendLog(std::string_view bytes);
    void unappendLog(std::size_t count);
    bool typewriterPause();
    void beginClickWait(int kind);

    // --- Calls into the other subsystems ------------------------------------
    void emitChar(std::string_view bytes);
    void newPage();
    void DrawRuby(std::string_view text);
    void DrawNamePlate(std::string_view name);
    // Copies the speaker name into row 0 of the page grid.
    void putNameInPageGrid(std::string_view name);
    // PENDING(backlog): records the page for recall.
    void RecordPage(bool continuing);
    // The `gra` tag's picture command.
    void graTag(std::string_view args);
    // The `clrb` tag's layer clear and screen update.
    void clrbTag(std::string_view args);
    // PENDING(sound): plays a voice and lists it for the page.
    void cvTag(std::string_view name);

    State st_;
    Engine& engine_;
};

} // namespace veskar
