#pragma once
// The engine object: owns every subsystem and the run state, and offers the
// handlers of the main window that a host drives.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "archive/archives.h"
#include "archive/script_loader.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "graphics/frame_timer.h"
#include "graphics/pictures.h"
#include "graphics/scene.h"
#include "graphics/screen_update.h"
#include "platform/host.h"
#include "script/interpreter.h"
#include "script/variables.h"
#include "shell/game_definition.h"
#include "shell/input.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "sound/movie.h"
#include "sound/music.h"
#include "sound/sound.h"
#include "text/backlog.h"
#include "text/glyphs.h"
#include "text/message_window.h"
#include "text/text_layout.h"

namespace veskar {

class Host;
class Clock;
class SettingsStore;
class AudioDevice;
class FontSource;
class MoviePlayer;

// The outside world, as a host provides it.
struct Platform {
    Host& host;
    Clock& clock;
    SettingsStore& settingsStore;
    AudioDevice& audio;
    FontSource* fonts = nullptr;
    // Movies; none skips them.
    MoviePlayer* movies = nullptr;
    // Where diagnostics go; standard error when none is given.
    std::ostream* diagnosticsOut = nullptr;
};

struct EngineOptions {
    std::filesystem::path gameDir;
    // Seed of the random generator; the current time in seconds when absent.
    std::optional<std::uint32_t> seed;
    // Writes one line per script line executed to this file.
    std::optional<std::filesystem::path> tracePath = std::nullopt;
    // Skip mode held on from the start, as if Ctrl were held down.
    bool holdSkip = false;
};

class Engine {
public:
    Engine(Platform platform, EngineOptions options);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- Main window handlers -------------------------------------------
    // Input goes to `input`; the handlers are here because the host drives them.
    // Creation: runs the start-up sequence.
    void FormCreate();
    // One main-loop pass. Returns the tick count at which the next pass is due.
    std::uint32_t AppIdle();
    // Every 55 ms.
    void Timer1Timer();
    void PBPaint();
    // Whether the window may close now.
    bool FormCloseQuery();
    void FormDestroy();

    void mouseDown(MouseButton button, Point position) { input.mouseDown(button, position); }
    void mouseUp(MouseButton button, Point position) { input.mouseUp(button, position); }
    void mouseMove(Point position) { input.mouseMove(position); }
    void wheel(int delta, Point position) { input.wheel(delta, position); }
    void keyDown(int key) { input.keyDown(key); }
    void keyUp(int key) { input.keyUp(key); }

    // Tool-strip buttons: "終了", "読込", "記録", "設定".
    void toolQuit() { input.toolQuit(); }
    void toolLoad() { input.toolLoad(); }
    void toolSave() { input.toolSave(); }
    void toolConfig() { input.toolConfig(); }

    // --- Operations several subsystems use ----------------------------------
    // "ゲームを終了しますか？" with OK and Cancel; true when the player chose OK.
    bool askToQuit();
    // Whether the player's names differ from the game's default names.
    bool namesChanged() const;

    // --- Shared services ----------------------------------------------------
    Host& host;
    Clock& clock;
    SettingsStore& settingsStore;
    AudioDevice& audio;
    FontSource* fonts;
    MoviePlayer* movies;
    EngineOptions options;
    Diagnostics diagnostics;

    RunState run;
    Random random;
    GameDefinition definition;
    Settings settings;
    std::unique_ptr<SettingsSection> settingsSection;

    // --- Subsystems -------------------------------------------------------
    Archives archives{options.gameDir, diagnostics};
    Pictures pictures{archives, diagnostics};
    Variables vars{random, diagnostics};
    Backlog backlog;
    ScriptLoader scripts{archives, diagnostics};
    Interpreter interp;
    FrameTimer frameTimer;
    Scene scene;
    ScreenUpdate screen;
    Glyphs glyphs;
    MessageWindow window;
    TextLayout layout;
    Input input{*this};
    Sound sound{*this};
    Music music{*this};
    Movie movie{*this};

    // Whether the start-up sequence could not read the game (the window then
    // closes on the first pass).
    bool gameDataMissing() const { return gameDataMissing_; }

private:
    void runStartupSequence();
    void firstPass();
    // The player sees "ゲームデータを読み込めません。"; stderr says `reason`.
    void showGameDataError(const std::string& reason);
    bool readDefinition();
    void readAllSettings();
    void enterFullScreen();
    void leaveFullScreen();

    bool gameDataMissing_ = false;
    Point restorePosition_;
};

} // namespace veskar
