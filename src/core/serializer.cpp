#include "core/serializer.h"

#include <algorithm>
#include <cstring>

#include "core/sjis.h"

namespace veskar {

bool Serializer::room(std::size_t n) {
    if (ok_ && pos_ <= size_ && n <= size_ - pos_) return true;
    ok_ = false;
    return false;
}

void Serializer::seek(std::size_t offset) {
    if (offset > size_) {
        ok_ = false;
        return;
    }
    pos_ = offset;
}

void Serializer::skip(std::size_t n) {
    if (!room(n)) return;
    if (saving_) std::memset(data_ + pos_, 0, n);
    pos_ += n;
}

void Serializer::syncInt32(std::int32_t& value) {
    if (!room(4)) return;
    std::uint8_t* p = data_ + pos_;
    if (saving_) {
        const auto u = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<std::uint8_t>(u >> (8 * i));
    } else {
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= static_cast<std::uint32_t>(p[i]) << (8 * i);
        value = static_cast<std::int32_t>(u);
    }
    pos_ += 4;
}

void Serializer::syncInt(int& value) {
    std::int32_t v = value;
    syncInt32(v);
    value = v;
}

void Serializer::syncFlag(bool& value) {
    std::int32_t v = value ? 1 : 0;
    syncInt32(v);
    value = v != 0;
}

void Serializer::syncBytes(std::span<std::uint8_t> bytes) {
    if (!room(bytes.size())) return;
    if (saving_)
        std::memcpy(data_ + pos_, bytes.data(), bytes.size());
    else
        std::memcpy(bytes.data(), data_ + pos_, bytes.size());
    pos_ += bytes.size();
}

void Serializer::syncString(std::string& text, std::size_t fieldSize) {
    if (fieldSize == 0 || !room(fieldSize)) return;
    std::uint8_t* p = data_ + pos_;
    if (saving_) {
        const std::string kept = cutText(text, fieldSize - 1);
        std::memset(p, 0, fieldSize);
        std::memcpy(p, kept.data(), kept.size());
    } else {
        // A field without its NUL still gives a text that fits the field again.
        const auto* chars = reinterpret_cast<const char*>(p);
        text = cutText(std::string_view(chars, strnlen(chars, fieldSize)), fieldSize - 1);
    }
    pos_ += fieldSize;
}

} // namespace veskar
