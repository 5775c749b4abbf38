#pragma once
// WADY, the engine's compressed 16-bit sound: a 48-byte header and either
// channel blocks of one-shot codes (effects) or one code byte per sample
// (the stream variant, music). Every size, count and offset is checked
// against the entry before anything is decoded.

#include <array>
#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

#include "platform/audio_device.h"

namespace veskar {

constexpr std::size_t kWadyHeaderSize = 48;

struct WadyHeader {
    std::uint8_t stepMultiplier = 1; // m
    int channels = 1;                // stream variant
    std::uint32_t quarterFrames = 0; // F
    std::uint32_t codeSize = 0;      // bytes of codes from offset 48
    std::uint32_t frames = 0;
    std::uint32_t pcmSize = 0;
    std::uint32_t loopStart = 0; // code offset from 48
    std::array<std::int16_t, 2> loopPredictors{};
    PcmFormat format;
};

struct DecodedSound {
    PcmFormat format;
    std::vector<std::uint8_t> pcm; // little-endian 16-bit samples, channels interleaved
};

// The fixed tables of the two code variants.
const std::array<std::int16_t, 128>& wadyStreamSteps(); // S
const std::array<std::int16_t, 64>& wadyOneShotSteps(); // D
const std::array<std::uint16_t, 8>& wadyRampLengths();  // R

// The header, with the PCM format checked (1 or 2 channels, 16 bits, a
// sample rate that can be played). `entry` holds at least the 48 header bytes.
std::expected<WadyHeader, std::string> parseWadyHeader(std::span<const std::uint8_t> entry);

// Decodes one channel block (u32 not read, u32 code count n, i16 first
// sample, codes) into every `stride`-th sample of `output`. Returns the
// samples written; codes running past the block or producing more samples
// than `output` holds are errors.
std::expected<std::size_t, std::string> DecodeWadyOneShot(std::span<const std::uint8_t> block,
                                                          std::span<std::int16_t> output, int stride);

// A whole one-shot entry to PCM of the header's format and size.
std::expected<DecodedSound, std::string> decodeWadyOneShotEntry(std::span<const std::uint8_t> entry);

// Decodes `frames` frames of stream codes (one byte per sample, channels
// interleaved) with running `predictors`; while `silent` the samples are 0
// but the predictors still advance. `codes` and `output` hold at least
// frames * channels each.
void DecodeWadyStream(std::span<const std::uint8_t> codes, std::span<std::int16_t> output, std::uint8_t m,
                      std::array<std::int16_t, 2>& predictors, int channels, std::size_t frames, bool silent);

// The stream header checked against the entry's size: codes inside the
// entry, a loop start on a frame inside them, quarters that fit the ring.
std::expected<WadyHeader, std::string> checkWadyStream(std::span<const std::uint8_t> header,
                                                       std::uint64_t entrySize);

// --- Encoders (the authoring tool) -----------------------------------------
std::vector<std::uint8_t> encodeWadyOneShot(const PcmFormat& format, std::span<const std::int16_t> samples);
// `loopFrame` is the frame the piece continues from after its end.
std::vector<std::uint8_t> encodeWadyStream(const PcmFormat& format, std::span<const std::int16_t> samples,
                                           std::uint32_t quarterFrames, std::uint32_t loopFrame);

// The ring is 4 quarters of F * c code bytes in a 352800-byte code buffer.
constexpr std::uint32_t kStreamCodeBuffer = 352800;

} // namespace veskar
