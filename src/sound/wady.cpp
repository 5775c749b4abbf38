#include "sound/wady.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/byte_reader.h"

namespace veskar {

namespace {

constexpr std::array<std::int16_t, 64> kT = {0,   2,   4,   6,   8,   10,  12,  15,  18,  21,  24,  28,  32,
                                             36,  40,  44,  49,  54,  59,  64,  70,  76,  82,  88,  95,  102,
                                             109, 116, 124, 132, 140, 148, 160, 170, 180, 190, 200, 210, 220,
                                             230, 240, 255, 270, 285, 300, 320, 340, 360, 380, 400, 425, 450,
                                             475, 500, 525, 550, 580, 610, 650, 700, 750, 800, 900, 1000};
constexpr std::array<std::int16_t, 32> kU = {0,    4,    8,    12,   19,   24,   30,   38,   47,   59,  74,
                                             92,   115,  144,  180,  225,  281,  352,  440,  550,  687, 859,
                                             1073, 1342, 1678, 2097, 2621, 3277, 4096, 5120, 6400, 8000};
constexpr std::array<std::uint16_t, 8> kR = {3, 4, 5, 6, 8, 16, 32, 256};

constexpr std::array<std::int16_t, 128> makeS() {
    std::array<std::int16_t, 128> s{};
    for (int b = 0; b < 64; ++b)
        s[b] = kT[b];
    s[64] = 0;
    for (int b = 65; b < 128; ++b)
        s[b] = static_cast<std::int16_t>(-kT[b - 64]);
    return s;
}
constexpr std::array<std::int16_t, 64> makeD() {
    std::array<std::int16_t, 64> d{};
    for (int v = 0; v < 32; ++v)
        d[v] = kU[v];
    for (int v = 32; v < 64; ++v)
        d[v] = static_cast<std::int16_t>(-kU[v - 32]);
    return d;
}
constexpr std::array<std::int16_t, 128> kS = makeS();
constexpr std::array<std::int16_t, 64> kD = makeD();

std::int16_t wrap16(std::int32_t v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) & 0xFFFF));
}
// A signed number of `bits` bits.
int signedBits(int v, int bits) {
    const int sign = 1 << (bits - 1);
    return (v & (sign - 1)) - (v & sign);
}

void putU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v & 0xFF);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void putU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Decoded PCM beyond this is taken for a damaged size.
constexpr std::uint32_t kMaxPcmSize = 256u << 20;

} // namespace

const std::array<std::int16_t, 128>& wadyStreamSteps() { return kS; }
const std::array<std::int16_t, 64>& wadyOneShotSteps() { return kD; }
const std::array<std::uint16_t, 8>& wadyRampLengths() { return kR; }

std::expected<WadyHeader, std::string> parseWadyHeader(std::span<const std::uint8_t> entry) {
    if (entry.size() < kWadyHeaderSize)
        return std::unexpected("entry of " + std::to_string(entry.size()) +
                               " bytes is shorter than the 48-byte header");
    const std::uint8_t* p = entry.data();
    if (std::memcmp(p, "WADY", 4) != 0) return std::unexpected("does not start with WADY");
    WadyHeader h;
    h.stepMultiplier = p[5];
    h.channels = loadU16(p + 6);
    h.quarterFrames = loadU32(p + 8);
    h.codeSize = loadU32(p + 12);
    h.frames = loadU32(p + 16);
    h.pcmSize = loadU32(p + 20);
    h.loopStart = loadU32(p + 24);
    h.loopPredictors = {static_cast<std::int16_t>(loadU16(p + 28)),
                        static_cast<std::int16_t>(loadU16(p + 30))};
    const int tag = loadU16(p + 32);
    h.format.channels = loadU16(p + 34);
    h.format.sampleRate = static_cast<int>(loadU32(p + 36));
    h.format.bitsPerSample = loadU16(p + 46);
    if (tag != 1) return std::unexpected("format tag " + std::to_string(tag) + " is not PCM");
    if (h.format.channels != 1 && h.format.channels != 2)
        return std::unexpected(std::to_string(h.format.channels) + " channels (1 or 2 are played)");
    if (h.format.bitsPerSample != 16)
        return std::unexpected(std::to_string(h.format.bitsPerSample) + " bits per sample (16 are played)");
    if (h.format.sampleRate < 1000 || h.format.sampleRate > 192000)
        return std::unexpected("sample rate " + std::to_string(h.format.sampleRate) + " Hz");
    return h;
}

std::expected<std::size_t, std::string> DecodeWadyOneShot(std::span<const std::uint8_t> block,
                                                          std::span<std::int16_t> output, int stride) {
    if (block.size() < 10)
        return std::unexpected("channel block of " + std::to_string(block.size()) + " bytes");
    if (stride < 1) stride = 1;
    const std::uint32_t n = loadU32(block.data() + 4);
    const std::span<const std::uint8_t> codes = block.subspan(10);
    if (n > codes.size())
        return std::unexpected("code count " + std::to_string(n) + " is more than the block's " +
                               std::to_string(codes.size()) + " code bytes");
    const std::size_t capacity =
        (output.size() + static_cast<std::size_t>(stride) - 1) / static_cast<std::size_t>(stride);
    std::size_t written = 0;
    const auto write = [&](std::int16_t v) {
        if (written >= capacity) return false;
        output[written * static_cast<std::size_t>(stride)] = v;
        ++written;
        return true;
    };
    const auto tooMany = [] {
        return std::unexpected(std::string("codes give more samples than the PCM size"));
    };
    std::int16_t p = static_cast<std::int16_t>(loadU16(block.data() + 8));
    if (!write(p)) return tooMany();
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        if (static_cast<std::int64_t>(i) == static_cast<std::int64_t>(n) - 300) p = 0;
        if (at >= codes.size()) return std::unexpected("codes run past the end of the block");
        const std::uint8_t c0 = codes[at++];
        if (c0 & 1) {
            const int v = (c0 >> 1) & 0x7F;
            if (v & 0x40)
                p = static_cast<std::int16_t>(signedBits(v & 0x3F, 6) * 1024);
            else
                p = wrap16(p + kD[static_cast<std::size_t>(v)]);
            if (!write(p)) return tooMany();
        } else {
            if (at >= codes.size()) return std::unexpected("a two-byte code runs past the end of the block");
            const std::uint8_t c1 = codes[at++];
            const int c = c0 + 256 * c1;
            const int r = kR[static_cast<std::size_t>((c0 >> 1) & 7)];
            const auto target = static_cast<std::int16_t>(static_cast<std::uint16_t>(c & 0xFFF0));
            const float step = static_cast<float>(target - p) / static_cast<float>(r);
            float x = static_cast<float>(p);
            for (int k = 0; k < r; ++k) {
                x += step;
                if (!write(static_cast<std::int16_t>(x))) return tooMany();
            }
            p = target;
        }
    }
    return written;
}

std::expected<DecodedSound, std::string> decodeWadyOneShotEntry(std::span<const std::uint8_t> entry) {
    auto header = parseWadyHeader(entry);
    if (!header) return std::unexpected(header.error());
    const std::uint32_t pcmSize = header->pcmSize & ~1u;
    // No code makes more than 256 samples of two bytes, and a code takes at least one byte.
    if (pcmSize > kMaxPcmSize || pcmSize / 512 > entry.size())
        return std::unexpected("PCM size " + std::to_string(header->pcmSize) + " is more than " +
                               std::to_string(entry.size()) + " bytes of codes can give");
    DecodedSound sound;
    sound.format = header->format;
    std::vector<std::int16_t> samples(pcmSize / 2, 0);
    if (header->format.channels == 1) {
        auto done = DecodeWadyOneShot(entry.subspan(kWadyHeaderSize), samples, 1);
        if (!done) return std::unexpected(done.error());
    } else {
        if (entry.size() < 52) return std::unexpected("no room for the left block's size");
        const std::uint64_t rightAt = 56 + static_cast<std::uint64_t>(loadU32(entry.data() + 48));
        if (rightAt > entry.size())
            return std::unexpected("right block at " + std::to_string(rightAt) + " lies past the entry's " +
                                   std::to_string(entry.size()) + " bytes");
        auto left = DecodeWadyOneShot(entry.subspan(52, static_cast<std::size_t>(rightAt) - 52), samples, 2);
        if (!left) return std::unexpected("left channel: " + left.error());
        if (samples.size() < 2) return std::unexpected("PCM size too small for two channels");
        auto right = DecodeWadyOneShot(entry.subspan(static_cast<std::size_t>(rightAt)),
                                       std::span<std::int16_t>(samples).subspan(1), 2);
        if (!right) return std::unexpected("right channel: " + right.error());
    }
    const std::size_t whole =
        samples.size() - samples.size() % static_cast<std::size_t>(sound.format.channels);
    sound.pcm.resize(whole * 2);
    for (std::size_t i = 0; i < whole; ++i)
        putU16(sound.pcm.data() + 2 * i, static_cast<std::uint16_t>(samples[i]));
    return sound;
}

void DecodeWadyStream(std::span<const std::uint8_t> codes, std::span<std::int16_t> output, std::uint8_t m,
                      std::array<std::int16_t, 2>& predictors, int channels, std::size_t frames,
                      bool silent) {
    const std::size_t c = channels == 2 ? 2 : 1;
    const std::size_t count = std::min({frames * c, codes.size(), output.size()});
    for (std::size_t i = 0; i < count; ++i) {
        std::int16_t& p = predictors[i % c];
        const std::uint8_t b = codes[i];
        if (b >= 0x80)
            p = static_cast<std::int16_t>(signedBits(b & 0x7F, 7) * 512);
        else
            p = wrap16(p + m * kS[b]);
        output[i] = silent ? std::int16_t{0} : p;
    }
}

std::expected<WadyHeader, std::string> checkWadyStream(std::span<const std::uint8_t> header,
                                                       std::uint64_t entrySize) {
    auto h = parseWadyHeader(header);
    if (!h) return h;
    const std::uint64_t c = static_cast<std::uint64_t>(h->channels);
    if (h->channels != h->format.channels)
        return std::unexpected("stream channels " + std::to_string(h->channels) +
                               " differ from the format's " + std::to_string(h->format.channels));
    if (h->quarterFrames == 0) return std::unexpected("quarter of 0 frames");
    if (4 * static_cast<std::uint64_t>(h->quarterFrames) * c > kStreamCodeBuffer)
        return std::unexpected("quarter of " + std::to_string(h->quarterFrames) +
                               " frames is larger than the ring");
    if (h->codeSize < c || h->codeSize % c != 0)
        return std::unexpected("code size " + std::to_string(h->codeSize) +
                               " is not a whole number of frames");
    if (h->codeSize > entrySize - std::min<std::uint64_t>(entrySize, kWadyHeaderSize))
        return std::unexpected("code size " + std::to_string(h->codeSize) + " runs past the entry's " +
                               std::to_string(entrySize) + " bytes");
    if (h->loopStart >= h->codeSize || h->loopStart % c != 0)
        return std::unexpected("loop start " + std::to_string(h->loopStart) + " is not a frame of the codes");
    return h;
}

// --- Encoders ---------------------------------------------------------------

namespace {

std::vector<std::uint8_t> headerBytes(const PcmFormat& format) {
    std::vector<std::uint8_t> h(kWadyHeaderSize, 0);
    std::memcpy(h.data(), "WADY", 4);
    putU16(h.data() + 32, 1);
    putU16(h.data() + 34, static_cast<std::uint16_t>(format.channels));
    putU32(h.data() + 36, static_cast<std::uint32_t>(format.sampleRate));
    putU32(h.data() + 40, static_cast<std::uint32_t>(format.sampleRate * format.channels * 2));
    putU16(h.data() + 44, static_cast<std::uint16_t>(format.channels * 2));
    putU16(h.data() + 46, 16);
    return h;
}

// One channel block of one-byte codes, each chosen to come closest.
std::vector<std::uint8_t> oneShotBlock(std::span<const std::int16_t> s) {
    std::vector<std::uint8_t> block(10, 0);
    const std::uint32_t n = s.empty() ? 0 : static_cast<std::uint32_t>(s.size() - 1);
    putU32(block.data(), n);
    putU32(block.data() + 4, n);
    std::int16_t p = s.empty() ? std::int16_t{0} : s[0];
    putU16(block.data() + 8, static_cast<std::uint16_t>(p));
    for (std::uint32_t i = 0; i < n; ++i) {
        if (static_cast<std::int64_t>(i) == static_cast<std::int64_t>(n) - 300) p = 0;
        const int t = s[i + 1];
        int bestCode = -1;
        int best = std::numeric_limits<int>::max();
        int bestValue = p;
        for (int v = 0; v < 64; ++v) {
            const int q = p + kD[static_cast<std::size_t>(v)];
            if (q < -32768 || q > 32767) continue;
            if (std::abs(t - q) < best) {
                best = std::abs(t - q);
                bestCode = v;
                bestValue = q;
            }
        }
        const int a = std::clamp((t + (t >= 0 ? 512 : -512)) / 1024, -32, 31);
        if (std::abs(t - a * 1024) < best) {
            bestCode = 0x40 | (a & 0x3F);
            bestValue = a * 1024;
        }
        block.push_back(static_cast<std::uint8_t>((bestCode << 1) | 1));
        p = static_cast<std::int16_t>(bestValue);
    }
    return block;
}

struct StreamCoder {
    std::uint8_t m;
    std::array<std::pair<int, std::uint8_t>, 128> sorted{};
    explicit StreamCoder(std::uint8_t mult) : m(mult) {
        for (int b = 0; b < 128; ++b)
            sorted[static_cast<std::size_t>(b)] = {kS[static_cast<std::size_t>(b)] * m,
                                                   static_cast<std::uint8_t>(b)};
        std::sort(sorted.begin(), sorted.end());
    }
    // The byte that brings predictor p closest to t; p moves there.
    std::uint8_t code(std::int16_t& p, int t) const {
        const int d = t - p;
        auto it = std::lower_bound(sorted.begin(), sorted.end(), std::pair<int, std::uint8_t>{d, 0});
        int best = std::numeric_limits<int>::max();
        std::uint8_t bestByte = 64;
        int bestValue = p;
        for (auto c = it == sorted.begin() ? it : it - 1; c != sorted.end() && c <= it; ++c) {
            const int q = p + c->first;
            if (q < -32768 || q > 32767) continue;
            if (std::abs(t - q) < best) {
                best = std::abs(t - q);
                bestByte = c->second;
                bestValue = q;
            }
        }
        const int a = std::clamp((t + (t >= 0 ? 256 : -256)) / 512, -64, 63);
        if (std::abs(t - a * 512) < best) {
            bestByte = static_cast<std::uint8_t>(0x80 | (a & 0x7F));
            bestValue = a * 512;
        }
        p = static_cast<std::int16_t>(bestValue);
        return bestByte;
    }
};

} // namespace

std::vector<std::uint8_t> encodeWadyOneShot(const PcmFormat& format, std::span<const std::int16_t> samples) {
    const std::size_t c = format.channels == 2 ? 2 : 1;
    const std::size_t frames = samples.size() / c;
    std::vector<std::uint8_t> out = headerBytes(format);
    putU32(out.data() + 16, static_cast<std::uint32_t>(frames));
    putU32(out.data() + 20, static_cast<std::uint32_t>(frames * c * 2));
    if (c == 1) {
        const auto block = oneShotBlock(samples.first(frames));
        out.insert(out.end(), block.begin(), block.end());
        return out;
    }
    std::vector<std::int16_t> left(frames), right(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        left[i] = samples[2 * i];
        right[i] = samples[2 * i + 1];
    }
    const auto l = oneShotBlock(left);
    const auto r = oneShotBlock(right);
    // The right block starts at 56 + this value; the left one at 52.
    out.resize(52);
    putU32(out.data() + 48, static_cast<std::uint32_t>(l.size() - 4));
    out.insert(out.end(), l.begin(), l.end());
    out.insert(out.end(), r.begin(), r.end());
    return out;
}

std::vector<std::uint8_t> encodeWadyStream(const PcmFormat& format, std::span<const std::int16_t> samples,
                                           std::uint32_t quarterFrames, std::uint32_t loopFrame) {
    const std::size_t c = format.channels == 2 ? 2 : 1;
    const std::size_t count = samples.size() / c * c;
    // The multiplier that comes closest over the whole piece.
    std::uint8_t bestM = 1;
    double bestError = -1;
    for (std::uint8_t m : {1, 2, 3, 4, 6, 8, 12, 16}) {
        const StreamCoder coder(m);
        std::array<std::int16_t, 2> p{};
        double error = 0;
        for (std::size_t i = 0; i < count; ++i) {
            coder.code(p[i % c], samples[i]);
            const double e = samples[i] - p[i % c];
            error += e * e;
        }
        if (bestError < 0 || error < bestError) {
            bestError = error;
            bestM = m;
        }
    }
    const StreamCoder coder(bestM);
    std::vector<std::uint8_t> out = headerBytes(format);
    out[5] = bestM;
    putU16(out.data() + 6, static_cast<std::uint16_t>(c));
    putU32(out.data() + 8, quarterFrames);
    putU32(out.data() + 12, static_cast<std::uint32_t>(count));
    putU32(out.data() + 16, static_cast<std::uint32_t>(count / c));
    putU32(out.data() + 20, static_cast<std::uint32_t>(count * 2));
    const std::size_t loopAt =
        std::min<std::size_t>(static_cast<std::size_t>(loopFrame) * c, count ? count - c : 0);
    putU32(out.data() + 24, static_cast<std::uint32_t>(loopAt));
    std::array<std::int16_t, 2> p{};
    for (std::size_t i = 0; i < count; ++i) {
        if (i == loopAt) {
            putU16(out.data() + 28, static_cast<std::uint16_t>(p[0]));
            putU16(out.data() + 30, static_cast<std::uint16_t>(p[1]));
        }
        out.push_back(coder.code(p[i % c], samples[i]));
    }
    return out;
}

} // namespace veskar
