#pragma once
// One code path for writing and reading a fixed little-endian layout: a
// subsystem describes its fields once with sync calls, and the same calls
// either store them into the bytes or fill them from the bytes.
//
//   void Thing::sync(Serializer& s) { s.syncInt32(count); s.syncString(name, 30); }

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace veskar {

class Serializer {
public:
    // Writes into `out`, which the caller sized to the layout.
    static Serializer saving(std::span<std::uint8_t> out) { return Serializer(out.data(), out.size(), true); }
    // Reads from `in`; nothing in `in` is changed.
    static Serializer loading(std::span<const std::uint8_t> in) {
        return Serializer(const_cast<std::uint8_t*>(in.data()), in.size(), false);
    }

    bool isSaving() const { return saving_; }
    bool isLoading() const { return !saving_; }

    // Where the next field goes; a layout places its blocks with this.
    std::size_t position() const { return pos_; }
    void seek(std::size_t offset);
    // `n` bytes nobody interprets: zeros when saving, passed over when loading.
    void skip(std::size_t n);

    void syncInt32(std::int32_t& value);
    void syncInt(int& value);
    // A flag as a 32-bit 0 or 1; any non-zero value reads as set.
    void syncFlag(bool& value);
    void syncBytes(std::span<std::uint8_t> bytes);
    // A NUL-terminated text in a field of `fieldSize` bytes: saved cut to
    // fieldSize - 1 bytes and padded with zeros, read up to its first NUL.
    void syncString(std::string& text, std::size_t fieldSize);

    // False once a field did not fit in the bytes (the rest was not touched).
    bool ok() const { return ok_; }

private:
    Serializer(std::uint8_t* data, std::size_t size, bool saving)
        : data_(data), size_(size), saving_(saving) {}
    // Whether `n` more bytes fit; marks the serializer failed when not.
    bool room(std::size_t n);

    std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool saving_;
    bool ok_ = true;
};

} // namespace veskar
