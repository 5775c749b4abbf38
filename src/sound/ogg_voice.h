#pragma once
// Ogg Vorbis voices decoded whole from memory.

#include <cstdint>
#include <expected>
#include <span>
#include <string>

#include "sound/wady.h"

namespace veskar {

// The whole stream as 16-bit PCM in its own channel count and rate.
std::expected<DecodedSound, std::string> decodeOggVoice(std::span<const std::uint8_t> entry);

// How many bytes of a decoded voice are played: short voices whole; longer
// ones lose their trailing silence, looked for in 4-byte steps back to half
// their length (the last 4 bytes are never played).
std::size_t playedVoiceLength(std::span<const std::uint8_t> pcm);

} // namespace veskar
