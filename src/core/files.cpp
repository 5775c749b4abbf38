#include "core/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace veskar {

namespace fs = std::filesystem;

std::optional<std::uint64_t> fileSize(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    const auto size = fs::file_size(path, ec);
    if (ec) return std::nullopt;
    return size;
}

std::expected<std::vector<std::uint8_t>, std::string>
readFileRange(const fs::path& path, std::uint64_t offset, std::uint64_t size) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::unexpected("cannot open " + path.string() + ": " + std::strerror(errno));
    in.seekg(0, std::ios::end);
    const auto length = static_cast<std::uint64_t>(in.tellg());
    if (offset > length || size > length - offset)
        return std::unexpected(path.string() + " is shorter than the " + std::to_string(size) +
                               " bytes at offset " + std::to_string(offset) + " it should hold");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(static_cast<std::streamoff>(offset));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return std::unexpected("cannot read " + path.string());
    return bytes;
}

std::expected<std::vector<std::uint8_t>, std::string> readWholeFile(const fs::path& path) {
    const auto size = fileSize(path);
    if (!size) return std::unexpected("cannot open " + path.string() + ": no such file");
    return readFileRange(path, 0, *size);
}

std::expected<void, std::string> writeFileAtomically(const fs::path& path,
                                                     std::span<const std::uint8_t> bytes) {
    const fs::path temp = path.string() + ".tmp" + std::to_string(::getpid());
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return std::unexpected("cannot write " + temp.string() + ": " + std::strerror(errno));
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool flushed = std::fflush(f) == 0 && ::fsync(fileno(f)) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed) {
        std::remove(temp.c_str());
        return std::unexpected("cannot write " + temp.string() + ": " + std::strerror(errno));
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        return std::unexpected("cannot rename " + temp.string() + " to " + path.string() + ": " +
                               ec.message());
    }
    return {};
}

} // namespace veskar
