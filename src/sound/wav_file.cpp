#include "sound/wav_file.h"

#include <cstring>

#include "core/byte_reader.h"

namespace veskar {

std::expected<WavSound, std::string> parseWav(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::unexpected("not a RIFF WAVE file");
    WavSound sound;
    bool haveFormat = false;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const std::uint8_t* chunk = bytes.data() + pos;
        const std::uint32_t size = loadU32(chunk + 4);
        if (size > bytes.size() - pos - 8)
            return std::unexpected("chunk '" + std::string(reinterpret_cast<const char*>(chunk), 4) +
                                   "' of " + std::to_string(size) + " bytes runs past the end of the file");
        const std::uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16) return std::unexpected("format chunk shorter than 16 bytes");
            const int tag = loadU16(body);
            sound.format.channels = loadU16(body + 2);
            sound.format.sampleRate = static_cast<int>(loadU32(body + 4));
            sound.format.bitsPerSample = loadU16(body + 14);
            if (tag != 1) return std::unexpected("format tag " + std::to_string(tag) + " is not PCM (1)");
            if (sound.format.channels != 1 && sound.format.channels != 2)
                return std::unexpected(std::to_string(sound.format.channels) +
                                       " channels (1 or 2 are played)");
            if (sound.format.bitsPerSample != 16)
                return std::unexpected(std::to_string(sound.format.bitsPerSample) +
                                       " bits per sample (16 are played)");
            if (sound.format.sampleRate < 1000 || sound.format.sampleRate > 192000)
                return std::unexpected("sample rate " + std::to_string(sound.format.sampleRate) +
                                       " Hz is out of range");
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return std::unexpected("data chunk before the format chunk");
            const std::size_t whole = size - size % static_cast<std::size_t>(sound.format.frameBytes());
            sound.pcm.assign(body, body + whole);
            return sound;
        }
        pos += 8 + size + (size & 1);
    }
    return std::unexpected(haveFormat ? "no data chunk" : "no format chunk");
}

std::vector<std::uint8_t> encodeWav(const PcmFormat& format, std::span<const std::uint8_t> pcm) {
    ByteWriter w;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(pcm.size());
    w.bytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>("RIFF"), 4));
    w.u32(36 + dataSize);
    w.bytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>("WAVEfmt "), 8));
    w.u32(16);
    w.u16(1);
    w.u16(static_cast<std::uint16_t>(format.channels));
    w.u32(static_cast<std::uint32_t>(format.sampleRate));
    w.u32(static_cast<std::uint32_t>(format.sampleRate * format.frameBytes()));
    w.u16(static_cast<std::uint16_t>(format.frameBytes()));
    w.u16(16);
    w.bytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>("data"), 4));
    w.u32(dataSize);
    w.bytes(pcm);
    return std::move(w.data());
}

} // namespace veskar
