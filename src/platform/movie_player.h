#pragma once
// Movie playback for the movie panel that covers the game view. The engine
// keeps the time: it asks for the frame due at a moment of the movie, so a
// headless run shows the same frames in virtual time.

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/picture.h"

namespace veskar {

class MoviePlayer {
public:
    virtual ~MoviePlayer() = default;
    // Opens a movie; false with the reason when it cannot be decoded.
    virtual bool open(const std::filesystem::path& path, std::string& error) = 0;
    // Whether the movie still runs `elapsedMs` after its start.
    virtual bool playing(std::uint32_t elapsedMs) = 0;
    // Draws the frame due `elapsedMs` after the start into the 800 x 600
    // picture, scaled to fit with its shape kept. False when the frame shown
    // is still the right one.
    virtual bool drawFrame(std::uint32_t elapsedMs, Picture& screen) = 0;
    virtual void close() = 0;
};

} // namespace veskar
