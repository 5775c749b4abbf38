#pragma once
// Ogg Vorbis streams made in memory, for tests of the voice player.

#include <cstdint>
#include <span>
#include <vector>

namespace veskar::test {

// Encodes 16-bit samples (channels interleaved) at a fixed quality.
std::vector<std::uint8_t> encodeOgg(std::span<const std::int16_t> samples, int channels, int sampleRate);

} // namespace veskar::test
