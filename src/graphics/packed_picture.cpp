#include "graphics/packed_picture.h"

#include <cstring>

#include "core/byte_reader.h"

namespace veskar {

namespace {

// The last token of a stage may run past the stage's nominal end; pictures
// written for the engine rely on up to this much room, and the excess is
// dropped. A token reaching further is corrupt.
constexpr std::size_t kStageSlack = 256;

// Most output one input byte of a stage can stand for, rounded up: a long
// copy is 3 bytes for 4096, a run of four-byte units 6 bytes for 32768.
constexpr std::uint64_t kDictionaryExpansion = 1366;
constexpr std::uint64_t kRunLengthExpansion = 5462;

std::string at(std::string_view what, std::size_t offset) {
    return std::string(what) + " at byte " + std::to_string(offset);
}

// First stage: literals and copies from earlier output, steered by control
// bits read most significant first. Produces `target` bytes (plus whatever the
// last token wrote beyond, within the slack) into `out`.
std::expected<void, std::string> decodeDictionary(std::span<const std::uint8_t> in, std::size_t target,
                                                  std::vector<std::uint8_t>& out) {
    out.assign(target + kStageSlack, 0);
    std::uint8_t* const o = out.data();
    const std::size_t cap = out.size();
    const std::uint8_t* const src = in.data();
    const std::size_t inSize = in.size();
    std::size_t pos = 0, produced = 0;
    unsigned control = 0;
    int bitsLeft = 0;

    while (produced < target) {
        if (bitsLeft == 0) {
            // Control bytes are read as they are needed: a trailing one after
            // the last item may or may not be present.
            if (pos >= inSize) return std::unexpected(at("dictionary stage: control byte missing", pos));
            control = src[pos++];
            bitsLeft = 8;
        }
        const bool token = (control & 0x80) != 0;
        control <<= 1;
        --bitsLeft;
        if (!token) {
            if (pos >= inSize) return std::unexpected(at("dictionary stage: literal missing", pos));
            o[produced++] = src[pos++];
            continue;
        }
        if (pos >= inSize) return std::unexpected(at("dictionary stage: token missing", pos));
        const std::size_t tokenAt = pos;
        const unsigned u = src[pos++];
        std::size_t distance = 0, count = 0;
        if (u < 0x80) {
            if ((u & 3) == 3) {
                const std::size_t n = (u >> 2) + 9;
                if (inSize - pos < n) return std::unexpected(at("dictionary stage: literal run cut short", tokenAt));
                if (cap - produced < n) return std::unexpected(at("dictionary stage: literal run past the end", tokenAt));
                std::memcpy(o + produced, src + pos, n);
                pos += n;
                produced += n;
                continue;
            }
            distance = (u >> 2) + 1;
            count = (u & 3) + 2;
        } else if ((u & 0x40) == 0) {
            if (inSize - pos < 1) return std::unexpected(at("dictionary stage: copy cut short", tokenAt));
            const unsigned b = src[pos++];
            distance = (((u & 0x3F) << 4) | (b >> 4)) + 1;
            count = (b & 0x0F) + 3;
        } else {
            if (inSize - pos < 2) return std::unexpected(at("dictionary stage: copy cut short", tokenAt));
            const unsigned b = src[pos++];
            const unsigned k = src[pos++];
            distance = (((u & 0x3F) << 8) | b) + 1;
            count = k == 0xFF ? 4096 : k == 0xFE ? 1024 : k == 0xFD ? 256 : k + 3;
        }
        if (distance > produced)
            return std::unexpected(at("dictionary stage: copy reaches before the start of the picture", tokenAt));
        if (cap - produced < count) return std::unexpected(at("dictionary stage: copy past the end", tokenAt));
        std::uint8_t* d = o + produced;
        const std::uint8_t* s = d - distance;
        if (distance >= count) {
            std::memcpy(d, s, count);
        } else if (distance == 1) {
            std::memset(d, *s, count);
        } else {
            // Overlapping: the copy repeats the last `distance` bytes.
            for (std::size_t i = 0; i < count; ++i) d[i] = s[i];
        }
        produced += count;
    }
    return {};
}

// Second stage: literal blocks and runs of 1- to 4-byte units.
std::expected<void, std::string> decodeRunLength(std::span<const std::uint8_t> in, std::size_t target,
                                                 std::vector<std::uint8_t>& out) {
    out.assign(target + kStageSlack, 0);
    std::uint8_t* const o = out.data();
    const std::uint8_t* const src = in.data();
    const std::size_t inSize = in.size();
    std::size_t pos = 0, produced = 0;
    while (produced < target) {
        if (pos >= inSize) return std::unexpected(at("run-length stage: data ends early", pos));
        const std::size_t tokenAt = pos;
        const unsigned b = src[pos++];
        if (b < 0x80) {
            const std::size_t n = (b & 0x7F) + 1; // at most 128, within the slack
            if (inSize - pos < n) return std::unexpected(at("run-length stage: literal block cut short", tokenAt));
            std::memcpy(o + produced, src + pos, n);
            pos += n;
            produced += n;
            continue;
        }
        if (inSize - pos < 1) return std::unexpected(at("run-length stage: run cut short", tokenAt));
        const unsigned e = src[pos++];
        std::size_t n = (((b & 0x1F) << 8) | e) + 1;
        const std::size_t s = ((b >> 5) & 3) + 1;
        if (produced + n * s > target) n = (target - produced) / s;
        if (inSize - pos < s) return std::unexpected(at("run-length stage: run unit cut short", tokenAt));
        const std::uint8_t* unit = src + pos;
        pos += s;
        std::uint8_t* d = o + produced;
        if (s == 1) {
            std::memset(d, unit[0], n);
        } else {
            for (std::size_t i = 0; i < n; ++i, d += s) std::memcpy(d, unit, s);
        }
        produced += n * s;
    }
    return {};
}

// Third stage: each of the three colour bytes is a running sum over the whole
// picture, across row ends.
void decodeDelta(std::uint8_t* bytes, std::size_t size) {
    std::uint8_t sum[3] = {0, 0, 0};
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        sum[0] = bytes[i] = static_cast<std::uint8_t>(bytes[i] + sum[0]);
        sum[1] = bytes[i + 1] = static_cast<std::uint8_t>(bytes[i + 1] + sum[1]);
        sum[2] = bytes[i + 2] = static_cast<std::uint8_t>(bytes[i + 2] + sum[2]);
    }
    for (int k = 0; i < size; ++i, ++k) sum[k] = bytes[i] = static_cast<std::uint8_t>(bytes[i] + sum[k]);
}

} // namespace

std::expected<PackedHeader, std::string> readPackedHeader(std::span<const std::uint8_t> entry) {
    if (entry.size() < kPackedHeaderSize)
        return std::unexpected("packed picture: header cut short (" + std::to_string(entry.size()) + " bytes)");
    PackedHeader h;
    h.flags = entry[2];
    h.bytesPerPixel = entry[3];
    h.compressedLength = loadU32(entry.data() + 4);
    h.firstStageLength = loadU32(entry.data() + 8);
    h.width = loadU16(entry.data() + 12);
    h.height = loadU16(entry.data() + 14);
    return h;
}

std::expected<Picture, std::string> DecodePackedPicture(std::span<const std::uint8_t> entry) {
    auto header = readPackedHeader(entry);
    if (!header) return std::unexpected(header.error());
    const PackedHeader& h = *header;
    if (h.bytesPerPixel != 3)
        return std::unexpected("packed picture: " + std::to_string(h.bytesPerPixel) +
                               " bytes per pixel (only 3 are shown)");
    if (entry.size() - kPackedHeaderSize < h.compressedLength)
        return std::unexpected("packed picture: " + std::to_string(h.compressedLength) +
                               " bytes of data declared, " + std::to_string(entry.size() - kPackedHeaderSize) +
                               " present");
    const auto data = entry.subspan(kPackedHeaderSize, h.compressedLength);

    const std::uint64_t size = std::uint64_t{h.width} * h.height * 3;
    if (size > kMaxPackedPictureBytes)
        return std::unexpected("packed picture: " + std::to_string(h.width) + " x " + std::to_string(h.height) +
                               " is too large");
    const bool runLength = (h.flags & kPackedRunLengthFlag) != 0;
    const std::uint64_t first = runLength ? h.firstStageLength : size;
    // Sizes no data of this length could produce are refused before anything
    // is allocated for them.
    if (first > std::uint64_t{h.compressedLength} * kDictionaryExpansion + 64)
        return std::unexpected("packed picture: " + std::to_string(first) + " bytes cannot come from " +
                               std::to_string(h.compressedLength) + " bytes of data");
    if (runLength && size > first * kRunLengthExpansion + 64)
        return std::unexpected("packed picture: " + std::to_string(size) + " bytes cannot come from a first stage of " +
                               std::to_string(first) + " bytes");

    std::vector<std::uint8_t> stage1, stage2;
    if (auto ok = decodeDictionary(data, static_cast<std::size_t>(first), stage1); !ok)
        return std::unexpected("packed picture: " + ok.error());
    std::vector<std::uint8_t>* decoded = &stage1;
    if (runLength) {
        const std::span<const std::uint8_t> firstOut(stage1.data(), static_cast<std::size_t>(first));
        if (auto ok = decodeRunLength(firstOut, static_cast<std::size_t>(size), stage2); !ok)
            return std::unexpected("packed picture: " + ok.error());
        decoded = &stage2;
    }
    if (h.flags & kPackedDeltaFlag) decodeDelta(decoded->data(), static_cast<std::size_t>(size));

    Picture picture(h.width, h.height);
    if (size > 0) std::memcpy(picture.bytes().data(), decoded->data(), static_cast<std::size_t>(size));
    return picture;
}

} // namespace veskar
