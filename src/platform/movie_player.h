#pragma once
// Movie playback on the hidden movie panel of the main window.

#include <string>

namespace veskar {

class MoviePlayer {
public:
    virtual ~MoviePlayer() = default;
    virtual bool play(const std::string& path) = 0;
    virtual bool playing() = 0;
    virtual void stop() = 0;
};

} // namespace veskar
