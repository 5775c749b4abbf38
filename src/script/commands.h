#pragma once
// The command handlers. Each runs one matched command line and tells the
// interpreter how to go on; which handler a keyword reaches, and where its
// arguments start, is written once, in the command table.

#include <string_view>

#include "script/command_table.h"
#include "script/flow.h"

namespace veskar {

class Engine;

class Commands {
public:
    explicit Commands(Engine& engine) : engine_(engine) {}

    // Runs the command in row `index` of the command table on `line`.
    Flow runCommand(int index, std::string_view line);

    // --- Handlers, as the command table names them -------------------------
    // Commands of subsystems that are not built yet: accepted, with the row's result.
    Flow accepted(const CommandCall& call);
    // Screens not built yet (clickmap, load, seltree, save): they would stop
    // skip and auto mode and end the step.
    Flow pendingScreen(const CommandCall& call);
    // Extras not built yet (roll, viewer): they stop skip and auto mode at once.
    Flow pendingExtra(const CommandCall& call);

    Flow gra(const CommandCall& call);
    Flow cv(const CommandCall& call);
    Flow music(const CommandCall& call);
    Flow se(const CommandCall& call);
    Flow seloop(const CommandCall& call);
    Flow seoff(const CommandCall& call);
    Flow movie(const CommandCall& call);
    Flow go(const CommandCall& call);
    Flow clrb(const CommandCall& call);
    Flow select(const CommandCall& call);
    Flow runSwitch(const CommandCall& call);
    Flow chain(const CommandCall& call);
    Flow waitVoiceEnd(const CommandCall& call);
    Flow spr(const CommandCall& call);
    Flow calc(const CommandCall& call);
    Flow runIf(const CommandCall& call);
    Flow ptset(const CommandCall& call);
    Flow call(const CommandCall& call);
    Flow end(const CommandCall& call);
    Flow mode(const CommandCall& call);
    Flow gameinit(const CommandCall& call);
    Flow grb(const CommandCall& call);
    Flow winClose(const CommandCall& call);
    Flow gameclr(const CommandCall& call);
    Flow partsload(const CommandCall& call);
    Flow mark(const CommandCall& call);
    Flow bg(const CommandCall& call);
    Flow fix(const CommandCall& call);
    Flow sleep(const CommandCall& call);
    Flow string(const CommandCall& call);
    Flow direct(const CommandCall& call);
    Flow breakSkip(const CommandCall& call);
    Flow winOpen(const CommandCall& call);
    Flow title(const CommandCall& call);
    Flow backto(const CommandCall& call);
    Flow shake(const CommandCall& call);
    Flow runCjmp(const CommandCall& call);
    Flow setname(const CommandCall& call);
    Flow ovr(const CommandCall& call);
    Flow exitgame(const CommandCall& call);
    Flow rec(const CommandCall& call);
    Flow twSet(const CommandCall& call);
    Flow endReplay(const CommandCall& call);
    Flow cgfull(const CommandCall& call);
    Flow wipeset(const CommandCall& call);

private:
    // Whether a "cut" command is skipped now (skip mode with EFX_CUT on).
    bool effectCut() const;

    // --- Operations of subsystems that are not built yet -------------------
    void endSceneReplay();
    void resetSpriteMovers();
    void saveGlobalData();
    void DrawQuickBar();
    void showNameEntry();
    void markGallerySeen();
    void recordRecollectionStart(std::string_view script);

    Engine& engine_;
};

} // namespace veskar
