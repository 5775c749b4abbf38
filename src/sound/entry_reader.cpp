#include "sound/entry_reader.h"

namespace veskar {

bool EntryReader::open(const std::filesystem::path& path, std::uint64_t offset, std::uint64_t size) {
    close();
    std::error_code ec;
    const auto length = std::filesystem::file_size(path, ec);
    if (ec || offset > length || size > length - offset) return false;
    file_.open(path, std::ios::binary);
    if (!file_) {
        file_ = std::ifstream();
        return false;
    }
    offset_ = offset;
    size_ = size;
    return true;
}

void EntryReader::close() {
    if (file_.is_open()) file_.close();
    file_.clear();
    offset_ = size_ = 0;
}

bool EntryReader::read(std::uint64_t at, std::span<std::uint8_t> out) {
    if (!file_.is_open() || at > size_ || out.size() > size_ - at) return false;
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(offset_ + at));
    file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<std::size_t>(file_.gcount()) == out.size();
}

} // namespace veskar
