#pragma once
// The command dispatcher: runs a matched command line and tells the
// interpreter how to go on (0 next line, 1 end the step, 2 run the rewritten
// line).

#include <cstdint>
#include <string>
#include <string_view>

namespace veskar {

class Engine;

class Commands {
public:
    explicit Commands(Engine& engine) : engine_(engine) {}

    int runCommand(int index, std::string_view line);

    // The conditional commands; `line` is the whole command line.
    int runIf(std::string_view line);
    int runCjmp(std::string_view line);
    int runSwitch(std::string_view line);

private:
    int gra(std::string_view args);
    int chain(std::string_view line);
    int call(std::string_view line);
    int end();
    int mode(std::string_view args);
    int gameclr();
    int mark(std::string_view args);
    int sleep(std::string_view args);
    int string(std::string_view line);
    int title(std::string_view line);
    int shake(std::string_view line);
    int setname();
    int rec();
    int cv(std::string_view args);

    // Whether a "cut" command is skipped now (skip mode with EFX_CUT on).
    bool effectCut() const;
    void StopSkipAndAuto(bool force);
    void StopSkip();

    // --- Hooks of subsystems that arrive later -----------------------------
    // Ends a gallery or recollection scene replay; arrives with the extras.
    void endSceneReplay();
    // Resets the sprite movers (`sprmv INIT`); arrives with the effects.
    void resetSpriteMovers();
    // Writes the global data file; arrives with saving.
    void saveGlobalData();
    // Redraws the quick-button bar; arrives with the quick-button bar.
    void DrawQuickBar();
    // Shows the name-entry dialog; arrives with name entry.
    void showNameEntry();
    // Marks every picture of the gallery list seen; arrives with the gallery.
    void markGallerySeen();
    // Records the start of a recollection scene; arrives with the recollection menu.
    void recordRecollectionStart(std::string_view script);

    Engine& engine_;
};

// The argument text of command `index` on `line` (empty when the line is shorter).
std::string_view commandArgs(int index, std::string_view line);

} // namespace veskar
