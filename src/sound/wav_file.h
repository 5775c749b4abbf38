#pragma once
// RIFF WAVE files of 16-bit PCM: what authors hand to the tool and what a
// headless run writes of what it played.

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

#include "platform/audio_device.h"

namespace veskar {

struct WavSound {
    PcmFormat format;
    std::vector<std::uint8_t> pcm; // little-endian 16-bit samples, channels interleaved
    std::size_t frames() const { return pcm.size() / static_cast<std::size_t>(format.frameBytes()); }
};

// Reads a PCM WAVE file (format tag 1, 1 or 2 channels, 16 bits per sample).
// Every chunk size is checked against the file.
std::expected<WavSound, std::string> parseWav(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> encodeWav(const PcmFormat& format, std::span<const std::uint8_t> pcm);

} // namespace veskar
