#pragma once
// Movies on the panel that covers the game view: the script waits (Busy)
// while one plays; the timer shows its frames and ends it, and a click ends
// it once its first second has passed.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace veskar {

class Engine;

class Movie {
public:
    explicit Movie(Engine& engine) : engine_(engine) {}

    // `movie` path (relative to the game folder). A missing file is skipped
    // silently, one that cannot be decoded with one line on stderr.
    void PlayMovie(std::string_view path);
    // Ends the movie once its first second has passed.
    void EndMovie();
    // The timer's movie poll: true while a movie runs (the tick stops there).
    bool tick();
    bool active() const { return MovieGuard != 0; }

    // Counts the first 20 ticks down; 1 once the movie may end.
    int MovieGuard = 0;

private:
    void showFrame();

    Engine& engine_;
    std::uint32_t startTick_ = 0;
    std::set<std::string> reported_;
};

} // namespace veskar
