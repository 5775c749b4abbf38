#include "core/byte_reader.h"

namespace veskar {

std::optional<std::uint8_t> ByteReader::u8() {
    if (remaining() < 1) return std::nullopt;
    return bytes_[pos_++];
}

std::optional<std::uint16_t> ByteReader::u16() {
    if (remaining() < 2) return std::nullopt;
    const std::uint16_t v = loadU16(bytes_.data() + pos_);
    pos_ += 2;
    return v;
}

std::optional<std::uint32_t> ByteReader::u32() {
    if (remaining() < 4) return std::nullopt;
    const std::uint32_t v = loadU32(bytes_.data() + pos_);
    pos_ += 4;
    return v;
}

std::optional<std::span<const std::uint8_t>> ByteReader::take(std::size_t count) {
    if (remaining() < count) return std::nullopt;
    auto s = bytes_.subspan(pos_, count);
    pos_ += count;
    return s;
}

} // namespace veskar
