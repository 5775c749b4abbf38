// veskar: runs one game, in a window or headless.

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "backends/ffmpeg/ffmpeg_movie_player.h"
#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/virtual_audio_device.h"
#include "backends/openal/openal_audio_device.h"
#include "core/files.h"
#include "platform/font_source.h"
#include "shell/engine.h"
#include "shell/exit_codes.h"
#ifdef VESKAR_HAVE_QT
#include "backends/qt/run_desktop.h"
#endif
#ifdef VESKAR_HAVE_FREETYPE
#include "backends/freetype/freetype_font_source.h"
#endif

namespace {

constexpr const char* kUsage = R"(Usage:
  veskar [GAME_DIR]                 play the game in a window
  veskar --headless GAME_DIR [options]
                                    run the game without a display, in virtual
                                    time, deterministic for a given seed
  veskar --help

GAME_DIR is the folder holding the game's archives (vk_data.vsk, vk_gra.vsk ...);
without it, the folder of the veskar executable.

Headless options:
  --until MS              stop after MS milliseconds of virtual time (without
                          it the run lasts until the game closes itself); a
                          transition or fade running then plays to its end
                          and the script step it belongs to finishes first
  --input FILE            timed input events and answers to message boxes;
                          README.md describes the format
  --screenshot MS:PATH    write the window as a PNG at MS milliseconds of
                          virtual time (may be given more than once)
  --seed N                seed of the random generator (default 0)
  --settings PATH         keep settings in this INI file (default: in memory)
  --trace FILE            write one line per script line executed: script,
                          byte offset, the line, and for commands the keyword
                          index and result; expression errors follow the line
  --skip                  hold skip mode on from the start, as if Ctrl were
                          held down all the time
  --font FILE             draw every text face from this font file instead
                          of the installed faces (keeps frames identical
                          from machine to machine)
  --audio-out FILE.wav    mix everything the run plays, at its volumes, in
                          virtual time into one 44.1 kHz stereo WAV file

Windowed options:
  --seed N                seed of the random generator (default: the time)
  --font FILE             as for headless runs

Exit codes: 0 the game ended; 1 another windowed veskar is running, or a
screenshot or the audio file could not be written; 2 bad arguments; 3 the game
folder, an archive or the game definition is missing or damaged (stderr says
which); 4 no display to open the window on.
)";

bool parseNumber(std::string_view text, std::uint32_t& out) {
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// Whether a window can be opened: an X or Wayland display, or a Qt platform
// chosen explicitly (such as offscreen).
[[maybe_unused]] bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

int usageError(const std::string& message) {
    std::cerr << "veskar: " << message << "\nTry 'veskar --help'.\n";
    return 2;
}

// Only the desktop host uses it; builds without Qt leave it unused.
[[maybe_unused]] std::filesystem::path executableDir() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : self.parent_path();
}

} // namespace

int main(int argc, char** argv) {
    using namespace veskar;
    bool headless = false;
    std::optional<std::filesystem::path> gameDir;
    std::optional<std::uint32_t> seed;
    std::optional<std::filesystem::path> settingsPath;
    std::optional<std::filesystem::path> inputPath;
    std::optional<std::filesystem::path> tracePath;
    bool holdSkip = false;
    std::optional<std::filesystem::path> fontFile;
    std::optional<std::filesystem::path> audioOut;
    HeadlessOptions headlessOptions;

    std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const auto value = [&](std::string_view name) -> std::optional<std::string_view> {
            if (i + 1 >= args.size()) return std::nullopt;
            (void)name;
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--headless") {
            headless = true;
        } else if (a == "--until") {
            auto v = value(a);
            std::uint32_t ms = 0;
            if (!v || !parseNumber(*v, ms)) return usageError("--until needs a number of milliseconds");
            headlessOptions.until = ms;
        } else if (a == "--seed") {
            auto v = value(a);
            std::uint32_t n = 0;
            if (!v || !parseNumber(*v, n)) return usageError("--seed needs a non-negative number");
            seed = n;
        } else if (a == "--input") {
            auto v = value(a);
            if (!v) return usageError("--input needs a file");
            inputPath = std::filesystem::path(*v);
        } else if (a == "--settings") {
            auto v = value(a);
            if (!v) return usageError("--settings needs a file");
            settingsPath = std::filesystem::path(*v);
        } else if (a == "--trace") {
            auto v = value(a);
            if (!v) return usageError("--trace needs a file");
            tracePath = std::filesystem::path(*v);
        } else if (a == "--font") {
            auto v = value(a);
            if (!v) return usageError("--font needs a font file");
            fontFile = std::filesystem::path(*v);
            std::error_code ec;
            if (!std::filesystem::is_regular_file(*fontFile, ec))
                return usageError("font file '" + fontFile->string() + "' not found");
        } else if (a == "--audio-out") {
            auto v = value(a);
            if (!v) return usageError("--audio-out needs a WAV file");
            audioOut = std::filesystem::path(*v);
        } else if (a == "--skip") {
            holdSkip = true;
        } else if (a == "--screenshot") {
            auto v = value(a);
            if (!v) return usageError("--screenshot needs MS:PATH");
            const auto colon = v->find(':');
            std::uint32_t ms = 0;
            if (colon == std::string_view::npos || colon + 1 == v->size() ||
                !parseNumber(v->substr(0, colon), ms))
                return usageError("--screenshot needs MS:PATH, for example 1000:frame.png");
            headlessOptions.screenshots.push_back({ms, std::filesystem::path(v->substr(colon + 1))});
        } else if (!a.empty() && a[0] == '-') {
            return usageError("unknown option '" + std::string(a) + "'");
        } else if (!gameDir) {
            gameDir = std::filesystem::path(a);
        } else {
            return usageError("more than one game folder given");
        }
    }

#ifdef VESKAR_HAVE_FREETYPE
    std::unique_ptr<FontSource> fonts =
        fontFile ? std::make_unique<FreeTypeFontSource>(*fontFile) : std::make_unique<FreeTypeFontSource>();
#else
    if (fontFile) return usageError("this build draws no text; --font is not available");
    std::unique_ptr<FontSource> fonts;
#endif

    if (!headless) {
        if (headlessOptions.until || inputPath || settingsPath || !headlessOptions.screenshots.empty() ||
            tracePath || holdSkip || audioOut)
            return usageError("--until, --input, --screenshot, --settings, --trace, --skip and --audio-out "
                              "need --headless");
#ifdef VESKAR_HAVE_QT
        if (!hasDisplay()) {
            std::cerr << "veskar: no display: use --headless or set DISPLAY\n";
            return kExitNoDisplay;
        }
        OpenAlAudioDevice audio;
        FfmpegMoviePlayer movies;
        return runDesktop(
            argc, argv,
            DesktopOptions{gameDir.value_or(executableDir()), seed, fonts.get(), &audio, &movies});
#else
        return usageError("this build has no desktop window; use --headless");
#endif
    }

    if (!gameDir) return usageError("--headless needs a game folder");
    if (inputPath) {
        auto bytes = readWholeFile(*inputPath);
        if (!bytes) return usageError(bytes.error());
        auto parsed =
            parseInputScript(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
        if (!parsed) return usageError(inputPath->string() + ": " + parsed.error());
        headlessOptions.input = std::move(*parsed);
    }

    HeadlessHost host(std::move(headlessOptions));
    IniSettingsStore store(settingsPath);
    VirtualAudioDevice audio(host.clock());
    if (audioOut) audio.startRecording();
    FfmpegMoviePlayer movies;
    Engine engine(Platform{host, host.clock(), store, audio, fonts.get(), &movies},
                  EngineOptions{*gameDir, seed.value_or(0), tracePath, holdSkip});
    host.attach(engine);
    int code = host.run();
    if (audioOut) {
        if (auto problem = audio.writeRecording(*audioOut)) {
            std::cerr << "veskar: " << *problem << '\n';
            code = 1;
        }
    }
    return code;
}
