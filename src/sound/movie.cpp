#include "sound/movie.h"

#include <filesystem>

#include "platform/clock.h"
#include "platform/host.h"
#include "platform/movie_player.h"
#include "shell/engine.h"

namespace veskar {

void Movie::PlayMovie(std::string_view raw) {
    std::string_view path = raw;
    while (!path.empty() && (path.back() == ' ' || path.back() == '\r' || path.back() == '\t'))
        path.remove_suffix(1);
    if (path.empty() || active()) return;
    // Scripts write folders with backslashes.
    std::string relative(path);
    for (char& c : relative)
        if (c == '\\') c = '/';
    const std::filesystem::path file = engine_.archives.gameDir() / relative;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return;
    MoviePlayer* player = engine_.movies;
    if (!player) return;
    std::string error;
    if (!player->open(file, error)) {
        if (reported_.insert(relative).second)
            engine_.diagnostics.report("movie " + relative + " cannot be played: " + error);
        return;
    }
    MovieGuard = 20;
    startTick_ = engine_.clock.tickCount();
    ++engine_.run.Busy;
    showFrame();
}

void Movie::showFrame() {
    Host& host = engine_.host;
    if (engine_.movies->drawFrame(engine_.clock.tickCount() - startTick_, host.windowPicture()))
        host.present();
}

bool Movie::tick() {
    if (MovieGuard == 0) return false;
    if (MovieGuard > 1) {
        --MovieGuard;
    } else if (!engine_.movies->playing(engine_.clock.tickCount() - startTick_)) {
        EndMovie();
        return true;
    }
    showFrame();
    return true;
}

void Movie::EndMovie() {
    if (MovieGuard != 1) return;
    engine_.movies->close();
    MovieGuard = 0;
    if (engine_.run.Busy > 0) --engine_.run.Busy;
    engine_.run.CommandsLocked = false;
    // The game view comes back.
    engine_.PBPaint();
}

} // namespace veskar
