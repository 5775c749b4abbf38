#pragma once
// Runs a game in a desktop window.

#include <filesystem>
#include <optional>

namespace veskar {

class AudioDevice;
class MoviePlayer;
class FontSource;

struct DesktopOptions {
    std::filesystem::path gameDir;
    std::optional<unsigned> seed;
    // Glyph rasters for the story text; none draws every glyph empty.
    FontSource* fonts = nullptr;
    // The sound output; none runs the game silent.
    AudioDevice* audio = nullptr;
    // Movies; none skips them.
    MoviePlayer* movies = nullptr;
};

// Returns the process exit code: 1 when another windowed veskar is running.
int runDesktop(int argc, char** argv, const DesktopOptions& options);

} // namespace veskar
