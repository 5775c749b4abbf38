#pragma once
// Reads parts of one archive entry from a file that stays open, for the
// music stream that reads a quarter every few ticks.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>

namespace veskar {

class EntryReader {
public:
    // Opens `path` for the entry of `size` bytes at `offset`; false when the
    // file cannot be opened or is shorter than that.
    bool open(const std::filesystem::path& path, std::uint64_t offset, std::uint64_t size);
    void close();
    bool isOpen() const { return file_.is_open(); }
    std::uint64_t size() const { return size_; }
    // Reads out.size() bytes at `at` from the entry's start; false when that
    // passes the entry's end or the file fails.
    bool read(std::uint64_t at, std::span<std::uint8_t> out);

private:
    std::ifstream file_;
    std::uint64_t offset_ = 0;
    std::uint64_t size_ = 0;
};

} // namespace veskar
