#include "sound_files.h"

#include <cstdio>

#include "core/files.h"
#include "sound/wady.h"
#include "sound/wav_file.h"

namespace vsktool {

namespace {

std::string describe(const veskar::PcmFormat& f, std::size_t frames) {
    char text[128];
    std::snprintf(text, sizeof text, "%s %d Hz, %zu frames (%.2f s)", f.channels == 2 ? "stereo" : "mono",
                  f.sampleRate, frames, static_cast<double>(frames) / f.sampleRate);
    return text;
}

std::vector<std::int16_t> samplesOf(const std::vector<std::uint8_t>& pcm) {
    std::vector<std::int16_t> s(pcm.size() / 2);
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<std::int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
    return s;
}

} // namespace

std::expected<EncodedSound, std::string> encodeWavFile(const std::filesystem::path& in, bool stream,
                                                       std::uint32_t loopFrame) {
    auto bytes = veskar::readWholeFile(in);
    if (!bytes) return std::unexpected(bytes.error());
    auto wav = veskar::parseWav(*bytes);
    if (!wav) return std::unexpected(in.string() + ": " + wav.error());
    const std::size_t frames = wav->frames();
    if (frames == 0) return std::unexpected(in.string() + ": no samples");
    const auto samples = samplesOf(wav->pcm);
    EncodedSound out;
    if (!stream) {
        if (frames > 0xFFFFFFFFu / 4) return std::unexpected(in.string() + ": too long");
        out.bytes = veskar::encodeWadyOneShot(wav->format, samples);
        out.description = "one-shot WADY, " + describe(wav->format, frames);
        return out;
    }
    if (loopFrame >= frames)
        return std::unexpected(in.string() + ": loop frame " + std::to_string(loopFrame) +
                               " is not before its " + std::to_string(frames) + " frames");
    const std::uint32_t ringFrames =
        veskar::kStreamCodeBuffer / 4 / static_cast<std::uint32_t>(wav->format.channels);
    const std::uint32_t quarter =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(wav->format.sampleRate), ringFrames);
    out.bytes = veskar::encodeWadyStream(wav->format, samples, quarter, loopFrame);
    out.description = "stream WADY, " + describe(wav->format, frames) + ", quarters of " +
                      std::to_string(quarter) + " frames, loop from frame " + std::to_string(loopFrame);
    return out;
}

std::expected<EncodedSound, std::string> decodeWadyToWav(const std::vector<std::uint8_t>& entry) {
    auto header = veskar::parseWadyHeader(entry);
    if (!header) return std::unexpected(header.error());
    // The stream variant names its channels at offset 6 and its code size; a
    // one-shot entry leaves them 0.
    auto stream = veskar::checkWadyStream(entry, entry.size());
    EncodedSound out;
    if (stream && header->quarterFrames != 0) {
        const std::size_t c = static_cast<std::size_t>(stream->channels);
        std::vector<std::int16_t> samples(stream->codeSize);
        std::array<std::int16_t, 2> p{};
        veskar::DecodeWadyStream(std::span(entry).subspan(veskar::kWadyHeaderSize, stream->codeSize), samples,
                                 stream->stepMultiplier, p, stream->channels, stream->codeSize / c, false);
        std::vector<std::uint8_t> pcm(samples.size() * 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            pcm[2 * i] = static_cast<std::uint8_t>(samples[i] & 0xFF);
            pcm[2 * i + 1] = static_cast<std::uint8_t>((samples[i] >> 8) & 0xFF);
        }
        out.bytes = veskar::encodeWav(stream->format, pcm);
        out.description = "stream WADY, " + describe(stream->format, stream->codeSize / c) +
                          ", loop from frame " + std::to_string(stream->loopStart / c);
        return out;
    }
    auto sound = veskar::decodeWadyOneShotEntry(entry);
    if (!sound) return std::unexpected(sound.error());
    out.bytes = veskar::encodeWav(sound->format, sound->pcm);
    out.description =
        "one-shot WADY, " +
        describe(sound->format, sound->pcm.size() / static_cast<std::size_t>(sound->format.frameBytes()));
    return out;
}

} // namespace vsktool
