#pragma once
// WAV files to and from the engine's WADY sounds, for `vsktool sound` and
// `vsktool build`.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vsktool {

struct EncodedSound {
    std::vector<std::uint8_t> bytes;
    std::string description; // format, length and loop, for the progress line
};

// One-shot WADY, or the stream variant with quarters of one second (fewer
// frames when the ring would not hold four) looping back to `loopFrame`.
std::expected<EncodedSound, std::string> encodeWavFile(const std::filesystem::path& in, bool stream,
                                                       std::uint32_t loopFrame);

// Either variant to WAV (a stream plays its codes once, without looping).
std::expected<EncodedSound, std::string> decodeWadyToWav(const std::vector<std::uint8_t>& entry);

} // namespace vsktool
