#include "graphics/bmp_reader.h"

#include <cstring>

#include "core/byte_reader.h"

namespace veskar {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint64_t kMaxBmpPictureBytes = 256ull << 20;

std::unexpected<std::string> bad(const std::string& why) { return std::unexpected("BMP: " + why); }

} // namespace

std::expected<Picture, std::string> ReadBmp(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize) return bad("file too short for its headers");
    if (bytes[0] != 'B' || bytes[1] != 'M') return bad("not a BMP file");
    const std::uint32_t pixelOffset = loadU32(bytes.data() + 10);
    const std::uint8_t* info = bytes.data() + kFileHeaderSize;
    const std::uint32_t infoSize = loadU32(info);
    if (infoSize < kInfoHeaderSize || infoSize > bytes.size() - kFileHeaderSize)
        return bad("unsupported header of " + std::to_string(infoSize) + " bytes");
    const auto width = static_cast<std::int32_t>(loadU32(info + 4));
    const auto height = static_cast<std::int32_t>(loadU32(info + 8));
    const std::uint16_t bitCount = loadU16(info + 14);
    const std::uint32_t compression = loadU32(info + 16);
    if (bitCount != 24) return bad(std::to_string(bitCount) + " bits per pixel (only 24 are read)");
    if (compression != 0) return bad("compressed pictures are not read");
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return bad("size " + std::to_string(width) + " x " + std::to_string(height));
    const bool topDown = height < 0;
    const std::int64_t rows = topDown ? -std::int64_t{height} : height;
    const std::uint64_t rowBytes = std::uint64_t(width) * 3;
    const std::uint64_t stride = (rowBytes + 3) & ~std::uint64_t{3};
    if (rowBytes * std::uint64_t(rows) > kMaxBmpPictureBytes)
        return bad(std::to_string(width) + " x " + std::to_string(rows) + " is too large");
    // The last row needs only its pixels, not its padding.
    const std::uint64_t needed = stride * std::uint64_t(rows - 1) + rowBytes;
    if (pixelOffset > bytes.size() || bytes.size() - pixelOffset < needed) return bad("pixel data cut short");

    Picture picture(width, static_cast<int>(rows));
    for (std::int64_t r = 0; r < rows; ++r) {
        const std::int64_t fileRow = topDown ? r : rows - 1 - r;
        std::memcpy(picture.row(static_cast<int>(r)), bytes.data() + pixelOffset + stride * fileRow,
                    rowBytes);
    }
    return picture;
}

} // namespace veskar
