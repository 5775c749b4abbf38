#pragma once
// The engine's lossless picture format as kept in the graphics archives:
// a 16-byte header, then data that went through up to three stages
// (dictionary copies, then optionally run lengths, then optionally a
// per-colour-byte delta), decoded in that order.

#include <cstddef>
#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

#include "core/picture.h"

namespace veskar {

constexpr std::uint8_t kPackedRunLengthFlag = 0x40;
constexpr std::uint8_t kPackedDeltaFlag = 0x80;
constexpr std::size_t kPackedHeaderSize = 16;

// Largest decoded picture accepted (bytes). Far above any screen-sized
// picture; a header beyond it is taken as corrupt rather than allocated.
constexpr std::uint64_t kMaxPackedPictureBytes = 256ull << 20;

struct PackedHeader {
    std::uint8_t flags = 0;
    std::uint8_t bytesPerPixel = 0;
    std::uint32_t compressedLength = 0; // L
    std::uint32_t firstStageLength = 0; // meaningful with the run-length flag
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// Reads the header only; fails when fewer than 16 bytes are given.
std::expected<PackedHeader, std::string> readPackedHeader(std::span<const std::uint8_t> entry);

// Decodes an entry (its bytes from the entry's start; bytes after the
// compressed data are ignored). Corrupt data gives an error, never a crash.
std::expected<Picture, std::string> DecodePackedPicture(std::span<const std::uint8_t> entry);

// Which stages an encoding uses.
enum class PackedStages { Smallest, DictionaryOnly, RunLength, Delta, DeltaRunLength };

// Encodes a picture; with Smallest every combination of stages is tried and
// the shortest entry is kept. Fails for pictures wider or taller than 65535.
std::expected<std::vector<std::uint8_t>, std::string> EncodePackedPicture(const Picture& picture,
                                                                          PackedStages stages = PackedStages::Smallest);

} // namespace veskar
