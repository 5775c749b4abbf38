// Packed pictures: each stage of the decoder on hand-made data, corrupt
// entries that must fail cleanly, and encoder round trips.

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "core/byte_reader.h"
#include "graphics/packed_picture.h"

namespace veskar {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes entry(std::uint8_t flags, std::uint32_t firstStage, std::uint16_t w, std::uint16_t h, const Bytes& data,
            std::uint8_t bytesPerPixel = 3) {
    ByteWriter out;
    out.u16(0);
    out.u8(flags);
    out.u8(bytesPerPixel);
    out.u32(static_cast<std::uint32_t>(data.size()));
    out.u32(firstStage);
    out.u16(w);
    out.u16(h);
    out.bytes(data);
    return out.data();
}

// Items of the dictionary stage with their control bytes, written the way the
// format lays them out: a control byte before each group of eight items.
class Tokens {
public:
    Tokens& literal(std::uint8_t b) { return item(false, {b}); }
    Tokens& literals(const Bytes& bytes) {
        for (auto b : bytes)
            literal(b);
        return *this;
    }
    Tokens& token(Bytes bytes) { return item(true, std::move(bytes)); }
    Bytes bytes(bool trailingControl = false) const {
        Bytes out = out_;
        if (trailingControl && items_ % 8 == 0) out.push_back(0);
        return out;
    }

private:
    Tokens& item(bool isToken, Bytes payload) {
        if (items_ % 8 == 0) {
            control_ = out_.size();
            out_.push_back(0);
        }
        if (isToken) out_[control_] |= static_cast<std::uint8_t>(0x80 >> (items_ % 8));
        out_.insert(out_.end(), payload.begin(), payload.end());
        ++items_;
        return *this;
    }
    Bytes out_;
    std::size_t control_ = 0;
    int items_ = 0;
};

Bytes sequence(std::size_t n, std::uint8_t start = 1) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), start);
    return b;
}

// Data the dictionary stage passes through unchanged (all literals).
Bytes plain(const Bytes& bytes) { return Tokens().literals(bytes).bytes(true); }

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct DecodeCase {
    const char* name;
    std::uint8_t flags;
    std::uint32_t firstStage;
    std::uint16_t w, h;
    Bytes data;
    Bytes expected;
};

TEST(PackedPictureDecoder, Stages) {
    const Bytes first32 = sequence(32);
    const Bytes first257 = sequence(257, 0);
    const DecodeCase cases[] = {
        {"literals only", 0, 0, 1, 1, Tokens().literals({1, 2, 3}).bytes(), {1, 2, 3}},
        {"control byte 0x80 then 0x03 is a run of 9 literals", 0, 0, 3, 1,
         concat({{0x80, 0x03}, sequence(9)}), sequence(9)},
        {"literal run of 40", 0, 0, 14, 1,
         Tokens().token(concat({{0x7F}, sequence(40)})).literals({41, 42}).bytes(), sequence(42)},
        {"token 0x00 repeats the previous byte twice",
         0,
         0,
         1,
         1,
         Tokens().literal(7).token({0x00}).bytes(),
         {7, 7, 7}},
        {"short copy, distance 32 count 4", 0, 0, 12, 1,
         Tokens().token(concat({{0x5F}, first32})).token({0x7E}).bytes(), concat({first32, {1, 2, 3, 4}})},
        {"medium copy repeats a pattern shorter than its count",
         0,
         0,
         2,
         1,
         Tokens().literals({1, 2}).token({0x80, 0x11}).bytes(),
         {1, 2, 1, 2, 1, 2}},
        {"medium copy, longest count 18", 0, 0, 7, 1,
         Tokens().literals({5, 6, 7}).token({0x80, 0x0F}).bytes(), concat({{5, 6, 7}, Bytes(18, 7)})},
        {"long copy, distance 257", 0, 0, 87, 1,
         Tokens().literals(first257).token({0xC1, 0x00, 0x01}).bytes(), concat({first257, {0, 1, 2, 3}})},
        {"control bytes are reloaded after eight items", 0, 0, 4, 1,
         Tokens().literals(sequence(8)).literal(9).token({0x08}).literal(0xAA).bytes(),
         concat({sequence(9), {7, 8}, {0xAA}})},
        {"a trailing control byte after the eighth item is read past", 0, 0, 3, 1,
         Tokens().literals(sequence(7)).token({0x00}).bytes(true), concat({sequence(7), {7, 7}})},
        {"run-length: literal block and a 2-byte unit three times",
         kPackedRunLengthFlag,
         8,
         3,
         1,
         plain({0x02, 1, 2, 3, 0xA0, 0x02, 8, 9}),
         {1, 2, 3, 8, 9, 8, 9, 8, 9}},
        {"run-length: a run past the end is cut to whole units",
         kPackedRunLengthFlag,
         8,
         2,
         1,
         plain({0x00, 4, 0xA0, 0x09, 5, 6, 0x00, 7}),
         {4, 5, 6, 5, 6, 7}},
        {"run-length: 8192 four-byte units cut to the picture",
         kPackedRunLengthFlag,
         6,
         4,
         1,
         plain({0xFF, 0xFF, 1, 2, 3, 4}),
         {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}},
        {"run-length: a 3-byte unit",
         kPackedRunLengthFlag,
         5,
         2,
         1,
         plain({0xC0, 0x01, 10, 20, 30}),
         {10, 20, 30, 10, 20, 30}},
        {"delta within a row",
         kPackedDeltaFlag,
         0,
         3,
         1,
         plain({10, 20, 30, 1, 1, 1, 1, 1, 1}),
         {10, 20, 30, 11, 21, 31, 12, 22, 32}},
        {"delta carries across row ends",
         kPackedDeltaFlag,
         0,
         1,
         3,
         plain({10, 20, 30, 1, 1, 1, 1, 1, 1}),
         {10, 20, 30, 11, 21, 31, 12, 22, 32}},
        {"delta wraps modulo 256",
         kPackedDeltaFlag,
         0,
         2,
         1,
         plain({250, 0, 1, 10, 0, 255}),
         {250, 0, 1, 4, 0, 0}},
        {"all three stages",
         kPackedRunLengthFlag | kPackedDeltaFlag,
         7,
         3,
         1,
         plain({0x02, 5, 6, 7, 0x80, 0x05, 0x00}),
         {5, 6, 7, 5, 6, 7, 5, 6, 7}},
        {"empty picture", 0, 0, 0, 0, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto picture = DecodePackedPicture(entry(c.flags, c.firstStage, c.w, c.h, c.data));
        ASSERT_TRUE(picture.has_value()) << picture.error();
        EXPECT_EQ(picture->width(), c.w);
        EXPECT_EQ(picture->height(), c.h);
        EXPECT_EQ(Bytes(picture->bytes().begin(), picture->bytes().end()), c.expected);
    }
}

TEST(PackedPictureDecoder, LongCopyCounts) {
    const std::pair<std::uint8_t, std::size_t> cases[] = {{0x00, 3},   {0x01, 4},    {0xFC, 255},
                                                          {0xFD, 256}, {0xFE, 1024}, {0xFF, 4096}};
    for (const auto& [k, count] : cases) {
        SCOPED_TRACE(k);
        // One literal, the copy, then literals up to whole pixels.
        const std::size_t pad = (3 - (1 + count) % 3) % 3;
        Tokens tokens;
        tokens.literal(0x42).token({0xC0, 0x00, k});
        for (std::size_t i = 0; i < pad; ++i)
            tokens.literal(0xAA);
        const auto width = static_cast<std::uint16_t>((1 + count + pad) / 3);
        auto picture = DecodePackedPicture(entry(0, 0, width, 1, tokens.bytes()));
        ASSERT_TRUE(picture.has_value()) << picture.error();
        Bytes expected(1 + count, 0x42);
        expected.insert(expected.end(), pad, 0xAA);
        EXPECT_EQ(Bytes(picture->bytes().begin(), picture->bytes().end()), expected);
    }
}

TEST(PackedPictureDecoder, ExtraBytesAfterTheDataAreIgnored) {
    Bytes e = entry(0, 0, 1, 1, Tokens().literals({1, 2, 3}).bytes());
    e.insert(e.end(), {9, 9, 9, 9});
    auto picture = DecodePackedPicture(e);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixel(0, 0), makeColour(3, 2, 1));
}

TEST(PackedPictureDecoder, CorruptEntriesFailCleanly) {
    struct Corrupt {
        const char* name;
        Bytes bytes;
        const char* inMessage;
    };
    Bytes truncated = entry(0, 0, 1, 1, Tokens().literals({1, 2, 3}).bytes());
    truncated.pop_back();
    Bytes declaredLonger = entry(0, 0, 1, 1, Tokens().literals({1, 2, 3}).bytes());
    declaredLonger[4] = 200;
    const Corrupt cases[] = {
        {"header cut short", Bytes(15, 0), "header"},
        {"4 bytes per pixel", entry(0, 0, 1, 1, Tokens().literals({1, 2, 3, 4}).bytes(), 4),
         "bytes per pixel"},
        {"1 byte per pixel", entry(0, 0, 3, 1, Tokens().literals({1, 2, 3}).bytes(), 1), "bytes per pixel"},
        {"data shorter than declared", truncated, "declared"},
        {"declared length past the entry", declaredLonger, "declared"},
        {"literal missing", entry(0, 0, 1, 1, Tokens().literals({1, 2}).bytes()), "literal missing"},
        {"control byte missing", entry(0, 0, 3, 1, Tokens().literals(sequence(8)).bytes()), "control byte"},
        {"copy before the first byte", entry(0, 0, 1, 1, Tokens().token({0x00}).literal(1).bytes()),
         "before the start"},
        {"copy further back than produced", entry(0, 0, 1, 1, Tokens().literal(1).token({0x04}).bytes()),
         "before the start"},
        {"literal run cut short", entry(0, 0, 3, 1, Bytes{0x80, 0x03, 1, 2, 3}), "cut short"},
        {"long copy cut short", entry(0, 0, 3, 1, Bytes{0x40, 1, 0xC0, 0x00}), "cut short"},
        {"copy far past the end", entry(0, 0, 1, 1, Tokens().literal(1).token({0xC0, 0x00, 0xFF}).bytes()),
         "past the end"},
        {"run-length reads past the first stage", entry(kPackedRunLengthFlag, 3, 1, 1, plain({0x05, 1, 2})),
         "run-length"},
        {"run-length unit cut short", entry(kPackedRunLengthFlag, 3, 2, 1, plain({0xE0, 0x05, 1})), "unit"},
        {"run-length run that fits no unit never ends",
         entry(kPackedRunLengthFlag, 6, 1, 1, plain({0x01, 1, 2, 0xA0, 0x04, 9})), "run-length"},
        {"huge size from a tiny entry", entry(0, 0, 65535, 65535, Tokens().literals({1, 2, 3}).bytes()),
         "too large"},
        {"first stage larger than the data allows",
         entry(0, 0, 1000, 1000, Tokens().literals({1, 2, 3}).bytes()), "cannot come from"},
        {"first stage length absurd", entry(kPackedRunLengthFlag, 0xFFFFFFFF, 10, 10, plain({1, 2, 3})),
         "cannot come from"},
        {"picture larger than the first stage allows",
         entry(kPackedRunLengthFlag, 3, 60000, 1, plain({1, 2, 3})), "cannot come from"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto picture = DecodePackedPicture(c.bytes);
        ASSERT_FALSE(picture.has_value());
        EXPECT_NE(picture.error().find(c.inMessage), std::string::npos) << picture.error();
    }
}

// Random damage to valid entries must give a picture or an error, nothing else.
TEST(PackedPictureDecoder, DamagedEntriesNeverCrash) {
    std::mt19937 random(7);
    Picture source(23, 17);
    for (auto& b : source.bytes())
        b = static_cast<std::uint8_t>(random() % 4 * 60);
    for (auto stages : {PackedStages::DictionaryOnly, PackedStages::DeltaRunLength}) {
        const Bytes good = *EncodePackedPicture(source, stages);
        for (int trial = 0; trial < 2000; ++trial) {
            Bytes bad = good;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int f = 0; f < flips; ++f)
                bad[random() % bad.size()] = static_cast<std::uint8_t>(random());
            if (trial % 5 == 0) bad.resize(random() % bad.size());
            auto picture = DecodePackedPicture(bad);
            if (picture) {
                EXPECT_LE(picture->bytes().size(), kMaxPackedPictureBytes);
            }
        }
    }
}

Picture patterned(int w, int h, int kind, std::uint32_t seed) {
    Picture p(w, h);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = p.row(y) + x * 3;
            switch (kind) {
            case 0:
                px[0] = px[1] = px[2] = static_cast<std::uint8_t>(random());
                break; // noise
            case 1:
                px[0] = static_cast<std::uint8_t>(x * 3), px[1] = static_cast<std::uint8_t>(y), px[2] = 128;
                break; // gradient
            case 2:
                px[0] = 0, px[1] = 255, px[2] = 255;
                break; // flat
            default:
                px[0] = px[1] = px[2] = ((x / 4 + y / 3) % 2) ? 200 : 30;
                break; // checks
            }
        }
    return p;
}

TEST(PackedPictureEncoder, RoundTrips) {
    const std::pair<int, int> sizes[] = {{0, 0}, {1, 1}, {3, 2}, {37, 11}, {200, 150}, {1500, 3}};
    const PackedStages all[] = {PackedStages::Smallest, PackedStages::DictionaryOnly, PackedStages::RunLength,
                                PackedStages::Delta, PackedStages::DeltaRunLength};
    for (const auto& [w, h] : sizes)
        for (int kind = 0; kind < 4; ++kind) {
            const Picture source = patterned(w, h, kind, static_cast<std::uint32_t>(w * 31 + kind));
            std::size_t smallest = 0;
            std::size_t others = SIZE_MAX;
            for (auto stages : all) {
                SCOPED_TRACE(testing::Message()
                             << w << "x" << h << " kind " << kind << " stages " << static_cast<int>(stages));
                auto packed = EncodePackedPicture(source, stages);
                ASSERT_TRUE(packed.has_value());
                auto decoded = DecodePackedPicture(*packed);
                ASSERT_TRUE(decoded.has_value()) << decoded.error();
                EXPECT_EQ(*decoded, source);
                if (stages == PackedStages::Smallest)
                    smallest = packed->size();
                else
                    others = std::min(others, packed->size());
            }
            EXPECT_EQ(smallest, others);
        }
}

TEST(PackedPictureEncoder, CompressesWhatRepeats) {
    const Picture flat = patterned(800, 600, 2, 1);
    auto packed = EncodePackedPicture(flat);
    ASSERT_TRUE(packed.has_value());
    EXPECT_LT(packed->size(), 2000u);
    const Picture gradient = patterned(320, 240, 1, 1);
    EXPECT_LT(EncodePackedPicture(gradient)->size(), gradient.bytes().size() / 4);
}

TEST(PackedPictureEncoder, RefusesPicturesTooWideForTheHeader) {
    EXPECT_FALSE(EncodePackedPicture(Picture(70000, 1)).has_value());
}

} // namespace
} // namespace veskar
