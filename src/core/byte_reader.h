#pragma once
// Little-endian reading and writing over byte spans. Reads past the end
// fail instead of touching memory outside the span.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veskar {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool seek(std::size_t pos) {
        if (pos > bytes_.size()) return false;
        pos_ = pos;
        return true;
    }

    std::optional<std::uint8_t> u8();
    std::optional<std::uint16_t> u16();
    std::optional<std::uint32_t> u32();
    std::optional<std::span<const std::uint8_t>> take(std::size_t count);

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

inline std::uint32_t loadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint16_t loadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

class ByteWriter {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void bytes(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void patchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t>& data() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace veskar
