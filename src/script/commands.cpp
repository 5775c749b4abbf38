#include "script/commands.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/sjis.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

namespace {
std::string_view from(std::string_view text, std::size_t offset) {
    return offset < text.size() ? text.substr(offset) : std::string_view{};
}
} // namespace

Flow Commands::runCommand(int index, std::string_view line) {
    if (index < 0 || index >= kCommandCount) return Flow::GoOn;
    const CommandRow& row = kCommandTable[static_cast<std::size_t>(index)];
    const CommandCall call{line, commandArgs(index, line), row};
    return (this->*row.handler)(call);
}

bool Commands::effectCut() const { return engine_.run.SkipActive && engine_.settings.EFX_CUT != 0; }

// --- Commands whose subsystems are not built yet ------------------------------

// PENDING(effects, animations, extras): each of these commands
// gets its handler with its subsystem; until then it is accepted. The "cut"
// ones (special, se, effect) give the same result when skipped.
Flow Commands::accepted(const CommandCall& call) { return call.row.result; }

// PENDING(choices, saves, selection tree): clickmap, load, seltree and save
// open their screens here.
Flow Commands::pendingScreen(const CommandCall&) {
    engine_.input.StopSkipAndAuto(false);
    return Flow::EndStep;
}

// PENDING(staff rolls, gallery): roll and viewer run their sequences here.
Flow Commands::pendingExtra(const CommandCall&) {
    engine_.input.StopSkipAndAuto(true);
    return Flow::EndStep;
}

// --- Pictures and the window ------------------------------------------------

Flow Commands::gra(const CommandCall& call) {
    engine_.scene.gra(call.args);
    auto& run = engine_.run;
    Flow result = Flow::GoOn;
    if (run.EffectInterrupt == 1) {
        result = Flow::EndStep;
    } else if (run.EffectInterrupt == 2) {
        // The window was closed during the transition: ask again, keeping the
        // picture the question covers.
        Host& host = engine_.host;
        const Picture spare = host.windowPicture();
        run.ScriptRunning = false;
        if (engine_.askToQuit()) run.QuitRequested = true;
        host.windowPicture() = spare;
        host.present();
        run.ScriptRunning = true;
        result = Flow::EndStep;
    }
    run.EffectInterrupt = 0;
    return result;
}

Flow Commands::grb(const CommandCall& call) {
    engine_.scene.grb(call.args);
    return Flow::GoOn;
}

Flow Commands::bg(const CommandCall& call) {
    engine_.scene.bg(call.args);
    return Flow::GoOn;
}

Flow Commands::clrb(const CommandCall& call) {
    engine_.scene.clrb(call.args);
    return Flow::GoOn;
}

Flow Commands::spr(const CommandCall& call) {
    engine_.scene.spr(call.args);
    return Flow::GoOn;
}

Flow Commands::partsload(const CommandCall& call) {
    engine_.scene.partsload(call.args);
    return Flow::GoOn;
}

Flow Commands::ptset(const CommandCall& call) {
    engine_.scene.ptset(call.args);
    return Flow::GoOn;
}

Flow Commands::direct(const CommandCall& call) {
    engine_.scene.direct(call.args);
    return Flow::GoOn;
}

Flow Commands::ovr(const CommandCall& call) {
    engine_.scene.ovr(call.args);
    engine_.run.WindowShown = false;
    return Flow::EndStep;
}

Flow Commands::fix(const CommandCall&) {
    engine_.screen.fix();
    return Flow::GoOn;
}

Flow Commands::wipeset(const CommandCall& call) {
    engine_.screen.wipeset(call.args);
    return Flow::EndStep;
}

Flow Commands::twSet(const CommandCall& call) {
    engine_.window.SetWindowState(readScriptNumber(call.args));
    return Flow::GoOn;
}

Flow Commands::winOpen(const CommandCall&) {
    engine_.window.OpenMessageWindow();
    return Flow::GoOn;
}

Flow Commands::winClose(const CommandCall&) {
    // The full-screen text mode keeps its text layer.
    if (!engine_.layout.fullScreenText()) engine_.window.CloseMessageWindow();
    return Flow::GoOn;
}

Flow Commands::mode(const CommandCall& call) {
    engine_.window.SetTextMode(readScriptNumber(call.args));
    engine_.interp.requestLine();
    return Flow::EndStep;
}

Flow Commands::shake(const CommandCall& call) {
    if (effectCut()) return Flow::EndStep;
    const std::string_view line = call.line;
    const std::int32_t mode = readScriptNumber(call.args);
    std::int32_t amplitude = 20;
    std::int32_t frameMs = 50;
    const std::string_view head = line.substr(0, std::min<std::size_t>(line.size(), 50));
    const std::size_t comma1 = head.find(',');
    if (comma1 != std::string_view::npos) {
        amplitude = readScriptNumber(line.substr(comma1 + 1));
        const std::size_t comma2 = head.find(',', comma1 + 1);
        if (comma2 != std::string_view::npos) frameMs = readScriptNumber(line.substr(comma2 + 1));
    }
    // Bounds that keep a mistyped number from holding the game for hours.
    amplitude = std::clamp(amplitude, 0, 2000);
    frameMs = std::clamp(frameMs, 0, 2000);

    Host& host = engine_.host;
    const Point origin = host.windowPosition();
    const int T0 = origin.y, L0 = origin.x;
    engine_.frameTimer.FrameTimerStart();
    for (std::int32_t d = amplitude; d > 0;) {
        const bool up = (d & 2) != 0;
        switch (mode) {
        case 0:
            host.setWindowPosition({L0, up ? T0 + d : T0 - d});
            break;
        case 1:
            host.setWindowPosition({up ? L0 + d : L0 - d, T0});
            break;
        case 2: {
            static constexpr int kDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
            static constexpr int kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
            const int r = engine_.random.next() & 7;
            host.setWindowPosition({L0 + kDx[r] * d, T0 + kDy[r] * d});
            break;
        }
        default:
            break; // no movement, but the same time
        }
        // A close answered OK ends the shake before another frame is waited out.
        host.processMessages();
        if (engine_.run.closeRequested()) break;
        const std::uint32_t frames = engine_.frameTimer.FrameTimerWait(static_cast<std::uint32_t>(frameMs));
        d -= 2 * static_cast<std::int32_t>(frames);
    }
    host.setWindowPosition(origin);
    return Flow::EndStep;
}

// --- Sound and movies ---------------------------------------------------------

Flow Commands::music(const CommandCall& call) {
    engine_.music.PlayMusicNumber(readScriptNumber(call.args));
    return Flow::GoOn;
}

Flow Commands::se(const CommandCall& call) {
    engine_.sound.se(call.args);
    return Flow::GoOn;
}

Flow Commands::seloop(const CommandCall& call) {
    engine_.sound.seloop(call.args);
    return Flow::GoOn;
}

Flow Commands::seoff(const CommandCall&) {
    engine_.sound.seoff();
    return Flow::GoOn;
}

Flow Commands::movie(const CommandCall& call) {
    engine_.movie.PlayMovie(call.args);
    return Flow::GoOn;
}

// --- Script flow and variables ----------------------------------------------

Flow Commands::go(const CommandCall& call) {
    engine_.interp.gotoLabel(call.args);
    return Flow::GoOn;
}

Flow Commands::calc(const CommandCall& call) {
    engine_.vars.runAssignment(call.args);
    return Flow::GoOn;
}

Flow Commands::backto(const CommandCall&) {
    engine_.vars.S(reg::kBacktoPoint) = engine_.interp.state().lineStart;
    return Flow::GoOn;
}

Flow Commands::select(const CommandCall&) {
    engine_.input.StopSkipAndAuto(false);
    engine_.interp.requestLine();
    // PENDING(choices): the choice itself is shown here.
    return Flow::EndStep;
}

Flow Commands::waitVoiceEnd(const CommandCall&) {
    if (engine_.run.HasWaveOut) engine_.run.WaitVoice = true;
    return Flow::EndStep;
}

Flow Commands::sleep(const CommandCall& call) {
    if (engine_.run.SkipActive || engine_.vars.S(reg::kAutoLevel) != 0) return Flow::GoOn;
    const std::int32_t passes = readScriptNumber(call.args) / 30;
    engine_.run.WaitPasses = passes == 0 ? -1 : passes;
    return Flow::EndStep;
}

Flow Commands::breakSkip(const CommandCall&) {
    engine_.input.StopSkip();
    engine_.input.StopSkipAndAuto(true);
    return Flow::EndStep;
}

Flow Commands::exitgame(const CommandCall&) {
    engine_.run.QuitRequested = true;
    engine_.host.requestClose();
    return Flow::EndStep;
}

Flow Commands::endReplay(const CommandCall&) {
    endSceneReplay();
    return Flow::EndStep;
}

Flow Commands::gameinit(const CommandCall&) {
    engine_.vars.clearGameState();
    resetSpriteMovers();
    return Flow::GoOn;
}

Flow Commands::gameclr(const CommandCall&) {
    const int count = incrementClearCounter(engine_.settingsStore);
    engine_.vars.S(reg::kClearCount) = count;
    engine_.vars.E.set(999);
    saveGlobalData();
    return Flow::GoOn;
}

Flow Commands::mark(const CommandCall& call) {
    const std::int32_t n = readScriptNumber(call.args);
    if (n < 0 || n > 80000) return Flow::GoOn;
    auto& vars = engine_.vars;
    if (vars.readMarks.test(n)) {
        engine_.interp.alreadyRead = true;
        return Flow::GoOn;
    }
    vars.readMarks.set(n);
    if (engine_.settings.Seen != 0) {
        engine_.interp.alreadyRead = false;
        engine_.run.SkipActive = false;
        vars.S(reg::kQuickSkipLit) = 0;
        DrawQuickBar();
    }
    return Flow::GoOn;
}

Flow Commands::string(const CommandCall& call) {
    std::size_t consumed = 0;
    const std::int32_t slot = readScriptNumber(call.args, &consumed);
    if (consumed == 0 || slot < 0 || slot > 9) {
        engine_.diagnostics.scriptProblem(
            "string slot " + std::to_string(slot) + " is not 0-9; the line is ignored", call.line);
        return Flow::GoOn;
    }
    // The text follows the slot digit and its comma.
    const std::string_view text = from(call.args, 2);
    std::string kept = cutText(text, kStringSlotMax);
    if (kept.size() < text.size())
        engine_.diagnostics.scriptProblem("string slot " + std::to_string(slot) + " holds " +
                                              std::to_string(kStringSlotMax) + " bytes; the text is cut",
                                          call.line);
    engine_.interp.setStringSlot(slot, std::move(kept));
    return Flow::GoOn;
}

Flow Commands::title(const CommandCall& call) {
    std::string kept = cutText(call.args, kStringSlotMax);
    if (kept.size() < call.args.size())
        engine_.diagnostics.scriptProblem(
            "a title holds " + std::to_string(kStringSlotMax) + " bytes; the text is cut", call.line);
    engine_.interp.setStringSlot(kTitleSlot, std::move(kept));
    return Flow::GoOn;
}

Flow Commands::setname(const CommandCall&) {
    auto& run = engine_.run;
    ++run.Busy;
    engine_.input.StopSkipAndAuto(false);
    showNameEntry();
    engine_.vars.S(reg::kNamesChanged) = engine_.namesChanged() ? 1 : 0;
    --run.Busy;
    return Flow::EndStep;
}

Flow Commands::rec(const CommandCall&) {
    auto& vars = engine_.vars;
    vars.F.clearAll();
    vars.clearV();
    recordRecollectionStart(engine_.interp.state().loadedScript);
    if (vars.S(reg::kRecollectionState) != 2) {
        vars.S(reg::kRecollectionState) = 1;
        vars.S(reg::kRecollectionStep) = 0;
    }
    vars.S(reg::kRecollectionMark) = 0;
    return Flow::GoOn;
}

Flow Commands::cv(const CommandCall& call) {
    // The backlog names the voice that was chosen.
    std::string entry = "@";
    entry += engine_.sound.cv(call.args);
    engine_.backlog.append(entry);
    engine_.interp.closeLogEntry();
    return Flow::GoOn;
}

Flow Commands::cgfull(const CommandCall&) {
    markGallerySeen();
    return Flow::EndStep;
}

// --- Operations of subsystems that are not built yet --------------------------
void Commands::endSceneReplay() {}                          // PENDING(gallery, recollection)
void Commands::resetSpriteMovers() {}                       // PENDING(effects): `sprmv INIT`
void Commands::saveGlobalData() {}                          // PENDING(saves)
void Commands::DrawQuickBar() {}                            // PENDING(quick-button bar)
void Commands::showNameEntry() {}                           // PENDING(name entry)
void Commands::markGallerySeen() {}                         // PENDING(gallery)
void Commands::recordRecollectionStart(std::string_view) {} // PENDING(recollection)

} // namespace veskar
