#include "script/commands.h"

#include <algorithm>
#include <iostream>

#include "core/numbers.h"
#include "core/sjis.h"
#include "script/command_table.h"
#include "shell/engine.h"

namespace veskar {

namespace {
std::string_view from(std::string_view line, std::size_t offset) {
    return offset < line.size() ? line.substr(offset) : std::string_view{};
}
} // namespace

std::string_view commandArgs(int index, std::string_view line) {
    return from(line, static_cast<std::size_t>(commandArgsAt(index, line)));
}

bool Commands::effectCut() const { return engine_.run.SkipActive && engine_.settings.EFX_CUT != 0; }

// Input handling will own these; the commands need them now.
void Commands::StopSkipAndAuto(bool force) {
    if (!force && engine_.settings.BreakonSelect == 0) return;
    StopSkip();
    engine_.vars.S(26) = 0;
}

void Commands::StopSkip() {
    engine_.vars.S(60) = 0;
    engine_.vars.S(61) = 0;
    engine_.run.SkipActive = false;
}

int Commands::runCommand(int index, std::string_view line) {
    auto& run = engine_.run;
    auto& vars = engine_.vars;
    auto& interp = engine_.interp;
    const std::string_view args = commandArgs(index, line);
    const int tableResult =
        index >= 0 && index < kCommandCount ? kCommandTable[static_cast<std::size_t>(index)].result : 0;
    switch (index) {
    case kGra:
        return gra(args);
    case kCv:
        return cv(args);
    case kGo:
        interp.gotoLabel(args);
        return 0;
    case kSelect:
        StopSkipAndAuto(false);
        interp.needLine = true;
        return 1; // the choice itself arrives with choices
    case kClickmap:
    case kLoad:
    case kSeltree:
    case kSave:
        StopSkipAndAuto(false);
        return 1; // the screens themselves arrive with their subsystems
    case kSwitch:
        return runSwitch(line);
    case kChain:
        return chain(line);
    case kWaitVEnd:
        if (run.HasWaveOut) run.WaitVoice = true;
        return 1;
    case kCalc:
        vars.runAssignment(args);
        return 0;
    case kIf:
        return runIf(line);
    case kCall:
        return call(line);
    case kEnd:
        return end();
    case kMode:
        return mode(args);
    case kGameinit:
        vars.F.clearAll();
        vars.T.clearAll();
        for (int i = 0; i < 1000; ++i)
            vars.V(i) = 0;
        resetSpriteMovers();
        return 0;
    case kGameclr:
        return gameclr();
    case kMark:
        return mark(args);
    case kSleep:
        return sleep(args);
    case kString:
        return string(line);
    case kBreak:
        StopSkip();
        StopSkipAndAuto(true);
        return 1;
    case kTitle:
        return title(line);
    case kBackto:
        vars.S(10) = interp.lineStart;
        return 0;
    case kRoll:
    case kViewer:
        StopSkipAndAuto(true);
        return 1;
    case kShake:
        return shake(line);
    case kCjmp:
        return runCjmp(line);
    case kSetname:
        return setname();
    case kOvr:
        engine_.scene.ovr(args);
        run.WindowShown = false;
        return 1;
    case kGrb:
        engine_.scene.grb(args);
        return 0;
    case kBg:
        engine_.scene.bg(args);
        return 0;
    case kClrb:
        engine_.scene.clrb(args);
        return 0;
    case kSpr:
        engine_.scene.spr(args);
        return 0;
    case kPartsload:
        engine_.scene.partsload(args);
        return 0;
    case kPtset:
        engine_.scene.ptset(args);
        return 0;
    case kDirect:
        engine_.scene.direct(args);
        return 0;
    case kFix:
        engine_.screen.fix();
        return 0;
    case kWipeset:
        engine_.screen.wipeset(args);
        return 1;
    case kExitgame:
        run.QuitRequested = true;
        engine_.host.requestClose();
        return 1;
    case kRec:
        return rec();
    case kTwSet:
        engine_.window.SetWindowState(readScriptNumber(args));
        return 0;
    case kExit:
        endSceneReplay();
        return 1;
    case kVend:
        endSceneReplay();
        return 1;
    case kChgprm:
        return 1;
    case kWinOpen:
        engine_.window.OpenMessageWindow();
        return 0;
    case kWinClose:
        // The full-screen text mode keeps its text layer.
        if (!engine_.layout.fullScreenText()) engine_.window.CloseMessageWindow();
        return 0;
    case kCgfull:
        markGallerySeen();
        return 1;
    case kMusic:
        engine_.music.PlayMusicNumber(readScriptNumber(args));
        return 0;
    case kSe:
        engine_.sound.se(args);
        return 0;
    case kSeloop:
        engine_.sound.seloop(args);
        return 0;
    case kSeoff:
        engine_.sound.seoff();
        return 0;
    case kMovie:
        engine_.movie.PlayMovie(args);
        return 0;
    default:
        // Commands of subsystems not built yet are accepted and do nothing;
        // the "cut" ones (special, se, effect) return the same when skipped.
        return tableResult;
    }
}

int Commands::gra(std::string_view args) {
    engine_.scene.gra(args);
    auto& run = engine_.run;
    int result = 0;
    if (run.EffectInterrupt == 1) {
        result = 1;
    } else if (run.EffectInterrupt == 2) {
        Host& host = engine_.host;
        const Picture spare = host.windowPicture();
        run.ScriptRunning = false;
        const MessageAnswer answer = host.messageBox(sjisText("ゲームを終了しますか？"), sjisText("確認"),
                                                     MessageIcon::Question, MessageButtons::OkCancel);
        if (answer == MessageAnswer::Ok) run.QuitRequested = true;
        host.windowPicture() = spare;
        host.present();
        run.ScriptRunning = true;
        result = 1;
    }
    run.EffectInterrupt = 0;
    return result;
}

int Commands::cv(std::string_view args) {
    std::string entry = "@";
    entry += engine_.sound.cv(args);
    engine_.backlog.append(entry);
    engine_.interp.closeLogEntry();
    return 0;
}

int Commands::mode(std::string_view args) {
    engine_.window.SetTextMode(readScriptNumber(args));
    engine_.interp.needLine = true;
    return 1;
}

int Commands::gameclr() {
    const int count = incrementClearCounter(engine_.settingsStore);
    engine_.vars.S(100) = count;
    engine_.vars.E.set(999);
    saveGlobalData();
    return 0;
}

int Commands::mark(std::string_view args) {
    const std::int32_t n = readScriptNumber(args);
    if (n < 0 || n > 80000) return 0;
    auto& vars = engine_.vars;
    if (vars.readMarks.test(n)) {
        engine_.interp.alreadyRead = true;
        return 0;
    }
    vars.readMarks.set(n);
    if (engine_.settings.Seen != 0) {
        engine_.interp.alreadyRead = false;
        engine_.run.SkipActive = false;
        vars.S(60) = 0;
        DrawQuickBar();
    }
    return 0;
}

int Commands::sleep(std::string_view args) {
    if (engine_.run.SkipActive || engine_.vars.S(26) != 0) return 0;
    const std::int32_t passes = readScriptNumber(args) / 30;
    engine_.run.WaitPasses = passes == 0 ? -1 : passes;
    return 1;
}

int Commands::string(std::string_view line) {
    std::size_t consumed = 0;
    const std::int32_t slot = readScriptNumber(from(line, 8), &consumed);
    if (consumed == 0 || slot < 0 || slot > 9) {
        std::cerr << "veskar: string slot " << slot << " is not 0-9; the line is ignored\n";
        return 0;
    }
    const std::string_view text = from(line, 10);
    std::string kept = cutText(text, 63);
    if (kept.size() < text.size())
        std::cerr << "veskar: string slot " << slot << " holds 63 bytes; the text is cut\n";
    engine_.interp.stringTable[static_cast<std::size_t>(slot)] = std::move(kept);
    return 0;
}

int Commands::title(std::string_view line) {
    const std::string_view text = from(line, 7);
    std::string kept = cutText(text, 63);
    if (kept.size() < text.size()) std::cerr << "veskar: a title holds 63 bytes; the text is cut\n";
    engine_.interp.stringTable[9] = std::move(kept);
    return 0;
}

int Commands::setname() {
    auto& run = engine_.run;
    auto& interp = engine_.interp;
    ++run.Busy;
    StopSkipAndAuto(false);
    showNameEntry();
    const bool defaults = interp.stringTable[0] == engine_.definition.DEFAULT_NAME &&
                          interp.stringTable[1] == engine_.definition.DEFAULT_NAME2;
    engine_.vars.S(6) = defaults ? 0 : 1;
    --run.Busy;
    return 1;
}

int Commands::rec() {
    auto& vars = engine_.vars;
    vars.F.clearAll();
    for (int i = 0; i < 1000; ++i)
        vars.V(i) = 0;
    recordRecollectionStart(engine_.interp.loadedScript);
    if (vars.S(151) != 2) {
        vars.S(151) = 1;
        vars.S(152) = 0;
    }
    vars.S(153) = 0;
    return 0;
}

int Commands::shake(std::string_view line) {
    if (effectCut()) return 1;
    const std::int32_t mode = readScriptNumber(from(line, 7));
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
        const std::uint32_t frames = engine_.frameTimer.FrameTimerWait(static_cast<std::uint32_t>(frameMs));
        d -= 2 * static_cast<std::int32_t>(frames);
    }
    host.setWindowPosition(origin);
    return 1;
}

// Later subsystems fill these in.
void Commands::endSceneReplay() {}    // arrives with the gallery and the recollection menu
void Commands::resetSpriteMovers() {} // arrives with the effects
void Commands::saveGlobalData() {}    // arrives with saving
void Commands::DrawQuickBar() {}      // arrives with the quick-button bar
void Commands::showNameEntry() {}     // arrives with name entry
void Commands::markGallerySeen() {}   // arrives with the gallery
void Commands::recordRecollectionStart(std::string_view) {} // arrives with the recollection menu

} // namespace veskar
