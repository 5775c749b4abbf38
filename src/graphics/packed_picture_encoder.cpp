// Writing packed pictures: the authoring tool's side of the format. Speed
// matters less than size here, but a full screen must still encode in well
// under a second.

#include <algorithm>
#include <array>
#include <cstring>

#include "core/byte_reader.h"
#include "graphics/packed_picture.h"

namespace veskar {

namespace {

constexpr std::size_t kMaxDistance = 16384;
constexpr std::size_t kMaxCopy = 4096;
constexpr int kChainDepth = 48;
constexpr int kHashBits = 15;
constexpr std::size_t kWindowMask = 32767; // ring of chain links, larger than kMaxDistance

// Bits a token costs in the dictionary stage (its bytes plus its control bit).
constexpr int kLiteralBits = 9;
constexpr int kShortBits = 9;
constexpr int kMediumBits = 17;
constexpr int kLongBits = 25;

// The count a long copy can store that comes closest to `length` from below.
std::size_t longCount(std::size_t length) {
    if (length >= 4096) return 4096;
    if (length >= 1024) return 1024;
    if (length >= 256) return 256;
    return std::min<std::size_t>(length, 255);
}

class DictionaryWriter {
public:
    DictionaryWriter() { startControl(); }

    void literal(std::uint8_t b) { pending_.push_back(b); }

    void shortCopy(std::size_t distance, std::size_t count) {
        flushLiterals();
        item(true, {static_cast<std::uint8_t>(((distance - 1) << 2) | (count - 2))});
    }
    void mediumCopy(std::size_t distance, std::size_t count) {
        flushLiterals();
        const std::size_t d = distance - 1;
        item(true, {static_cast<std::uint8_t>(0x80 | (d >> 4)), static_cast<std::uint8_t>(((d & 15) << 4) | (count - 3))});
    }
    void longCopy(std::size_t distance, std::size_t count) {
        flushLiterals();
        const std::size_t d = distance - 1;
        const std::uint8_t k = count == 4096 ? 0xFF : count == 1024 ? 0xFE : count == 256 ? 0xFD
                                                                                          : static_cast<std::uint8_t>(count - 3);
        item(true, {static_cast<std::uint8_t>(0xC0 | (d >> 8)), static_cast<std::uint8_t>(d & 0xFF), k});
    }

    std::vector<std::uint8_t> finish() {
        flushLiterals();
        return std::move(out_);
    }

private:
    void startControl() {
        controlAt_ = out_.size();
        out_.push_back(0);
        items_ = 0;
    }

    void item(bool token, std::initializer_list<std::uint8_t> payload) {
        if (token) out_[controlAt_] |= static_cast<std::uint8_t>(0x80 >> items_);
        out_.insert(out_.end(), payload);
        // A new control byte follows every eighth item, the last one included,
        // as the engine's reader expects.
        if (++items_ == 8) startControl();
    }

    void itemBytes(bool token, const std::uint8_t* bytes, std::size_t n, std::uint8_t lead) {
        if (token) out_[controlAt_] |= static_cast<std::uint8_t>(0x80 >> items_);
        out_.push_back(lead);
        out_.insert(out_.end(), bytes, bytes + n);
        if (++items_ == 8) startControl();
    }

    // Ten or more literals are cheaper as literal runs (one byte and one bit
    // for up to 40) than one bit each.
    void flushLiterals() {
        std::size_t i = 0;
        const std::size_t n = pending_.size();
        while (n - i >= 10) {
            const std::size_t run = std::min<std::size_t>(40, n - i);
            itemBytes(true, pending_.data() + i, run, static_cast<std::uint8_t>(((run - 9) << 2) | 3));
            i += run;
        }
        for (; i < n; ++i) item(false, {pending_[i]});
        pending_.clear();
    }

    std::vector<std::uint8_t> out_;
    std::vector<std::uint8_t> pending_;
    std::size_t controlAt_ = 0;
    int items_ = 0;
};

std::uint32_t hash3(const std::uint8_t* p) {
    const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

std::vector<std::uint8_t> encodeDictionary(std::span<const std::uint8_t> data) {
    DictionaryWriter writer;
    const std::size_t n = data.size();
    const std::uint8_t* const p = data.data();
    std::vector<std::int64_t> head(std::size_t{1} << kHashBits, -1);
    std::vector<std::int64_t> prev(kWindowMask + 1, -1);
    auto insert = [&](std::size_t i) {
        if (i + 3 > n) return;
        const std::uint32_t h = hash3(p + i);
        prev[i & kWindowMask] = head[h];
        head[h] = static_cast<std::int64_t>(i);
    };
    auto matchLength = [&](std::size_t from, std::size_t at, std::size_t limit) {
        std::size_t len = 0;
        while (len < limit && p[from + len] == p[at + len]) ++len;
        return len;
    };

    std::size_t i = 0;
    while (i < n) {
        const std::size_t limit = std::min(kMaxCopy, n - i);
        std::size_t bestLen = 0, bestDist = 0;     // any distance
        std::size_t mediumLen = 0, mediumDist = 0; // distance up to 1024
        if (limit >= 3) {
            std::int64_t cand = head[hash3(p + i)];
            for (int depth = 0; cand >= 0 && depth < kChainDepth; ++depth) {
                const std::size_t dist = i - static_cast<std::size_t>(cand);
                if (dist > kMaxDistance) break;
                const std::size_t len = matchLength(static_cast<std::size_t>(cand), i, limit);
                if (len > bestLen) bestLen = len, bestDist = dist;
                if (dist <= 1024 && len > mediumLen) mediumLen = len, mediumDist = dist;
                if (bestLen == limit) break;
                cand = prev[static_cast<std::size_t>(cand) & kWindowMask];
            }
        }
        std::size_t shortLen = 0, shortDist = 0;
        for (std::size_t d = 1; d <= 32 && d <= i && shortLen < 4; ++d) {
            const std::size_t len = matchLength(i - d, i, std::min<std::size_t>(limit, 4));
            if (len > shortLen) shortLen = len, shortDist = d;
        }

        // The token that saves the most bits over literals.
        enum { None, Short, Medium, Long } kind = None;
        std::size_t count = 0, dist = 0;
        long best = 0;
        auto consider = [&](decltype(kind) k, std::size_t c, std::size_t d, int bits) {
            const long saving = static_cast<long>(c) * kLiteralBits - bits;
            if (c > 0 && saving > best) best = saving, kind = k, count = c, dist = d;
        };
        if (shortLen >= 2) consider(Short, std::min<std::size_t>(shortLen, 4), shortDist, kShortBits);
        if (mediumLen >= 3) consider(Medium, std::min<std::size_t>(mediumLen, 18), mediumDist, kMediumBits);
        if (bestLen >= 3) consider(Long, longCount(bestLen), bestDist, kLongBits);

        switch (kind) {
        case None:
            writer.literal(p[i]);
            count = 1;
            break;
        case Short: writer.shortCopy(dist, count); break;
        case Medium: writer.mediumCopy(dist, count); break;
        case Long: writer.longCopy(dist, count); break;
        }
        for (std::size_t k = 0; k < count; ++k) insert(i + k);
        i += count;
    }
    return writer.finish();
}

std::vector<std::uint8_t> encodeRunLength(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out;
    const std::size_t n = data.size();
    const std::uint8_t* const p = data.data();
    std::size_t literalStart = 0, i = 0;
    auto flushLiterals = [&](std::size_t end) {
        while (literalStart < end) {
            const std::size_t block = std::min<std::size_t>(128, end - literalStart);
            out.push_back(static_cast<std::uint8_t>(block - 1));
            out.insert(out.end(), p + literalStart, p + literalStart + block);
            literalStart += block;
        }
    };
    while (i < n) {
        std::size_t bestUnit = 0, bestUnits = 0;
        long bestSaving = 1; // a run must beat breaking the literal block
        for (std::size_t s = 1; s <= 4 && i + 2 * s <= n; ++s) {
            std::size_t units = 1;
            while (units < 8192 && i + (units + 1) * s <= n && std::memcmp(p + i, p + i + units * s, s) == 0)
                ++units;
            const long saving = static_cast<long>(units * s) - static_cast<long>(2 + s);
            if (saving > bestSaving) bestSaving = saving, bestUnit = s, bestUnits = units;
        }
        if (bestUnit == 0) {
            ++i;
            continue;
        }
        flushLiterals(i);
        const std::size_t m = bestUnits - 1;
        out.push_back(static_cast<std::uint8_t>(0x80 | ((bestUnit - 1) << 5) | (m >> 8)));
        out.push_back(static_cast<std::uint8_t>(m & 0xFF));
        out.insert(out.end(), p + i, p + i + bestUnit);
        i += bestUnits * bestUnit;
        literalStart = i;
    }
    flushLiterals(n);
    return out;
}

std::vector<std::uint8_t> encodeDelta(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out(data.size());
    std::array<std::uint8_t, 3> last{};
    for (std::size_t i = 0; i < data.size(); ++i) {
        out[i] = static_cast<std::uint8_t>(data[i] - last[i % 3]);
        last[i % 3] = data[i];
    }
    return out;
}

std::vector<std::uint8_t> encodeWith(const Picture& picture, bool delta, bool runLength) {
    std::span<const std::uint8_t> data = picture.bytes();
    std::vector<std::uint8_t> deltaBytes, runBytes;
    if (delta) {
        deltaBytes = encodeDelta(data);
        data = deltaBytes;
    }
    if (runLength) {
        runBytes = encodeRunLength(data);
        data = runBytes;
    }
    const std::vector<std::uint8_t> packed = encodeDictionary(data);

    ByteWriter w;
    w.u16(0);
    w.u8(static_cast<std::uint8_t>((delta ? kPackedDeltaFlag : 0) | (runLength ? kPackedRunLengthFlag : 0)));
    w.u8(3);
    w.u32(static_cast<std::uint32_t>(packed.size()));
    w.u32(static_cast<std::uint32_t>(data.size()));
    w.u16(static_cast<std::uint16_t>(picture.width()));
    w.u16(static_cast<std::uint16_t>(picture.height()));
    w.bytes(packed);
    return std::move(w.data());
}

} // namespace

std::expected<std::vector<std::uint8_t>, std::string> EncodePackedPicture(const Picture& picture,
                                                                          PackedStages stages) {
    if (picture.width() > 0xFFFF || picture.height() > 0xFFFF)
        return std::unexpected("packed picture: " + std::to_string(picture.width()) + " x " +
                               std::to_string(picture.height()) + " is larger than 65535 x 65535");
    if (picture.bytes().size() > kMaxPackedPictureBytes)
        return std::unexpected("packed picture: " + std::to_string(picture.width()) + " x " +
                               std::to_string(picture.height()) + " is too large");
    switch (stages) {
    case PackedStages::DictionaryOnly: return encodeWith(picture, false, false);
    case PackedStages::RunLength: return encodeWith(picture, false, true);
    case PackedStages::Delta: return encodeWith(picture, true, false);
    case PackedStages::DeltaRunLength: return encodeWith(picture, true, true);
    case PackedStages::Smallest: break;
    }
    std::vector<std::uint8_t> best;
    for (const bool delta : {false, true})
        for (const bool runLength : {false, true}) {
            auto candidate = encodeWith(picture, delta, runLength);
            if (best.empty() || candidate.size() < best.size()) best = std::move(candidate);
        }
    return best;
}

} // namespace veskar
