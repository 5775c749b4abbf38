#include "backends/headless/png_writer.h"

#include <cstdio>
#include <memory>
#include <png.h>
#include <vector>

#include "core/files.h"

namespace veskar {

namespace {
struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};
using File = std::unique_ptr<FILE, FileCloser>;
} // namespace

std::expected<void, std::string> writePng(const Picture& picture, const std::filesystem::path& path) {
    const std::filesystem::path temp = path.string() + ".part";
    File file(std::fopen(temp.c_str(), "wb"));
    if (!file) return std::unexpected("cannot write " + temp.string());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return std::unexpected("out of memory writing " + path.string());
    }
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(picture.width()) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return std::unexpected("cannot encode " + path.string());
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* src = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            rgb[x * 3] = src[x * 3 + 2];
            rgb[x * 3 + 1] = src[x * 3 + 1];
            rgb[x * 3 + 2] = src[x * 3];
        }
        png_write_row(png, rgb.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) return std::unexpected("cannot write " + temp.string());
    file.reset();
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) return std::unexpected("cannot rename " + temp.string() + ": " + ec.message());
    return {};
}

std::expected<Picture, std::string> readPng(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return std::unexpected(path.string() + ": " + image.message);
    image.format = PNG_FORMAT_BGR;
    Picture picture(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, picture.bytes().data(), picture.rowBytes(), nullptr)) {
        png_image_free(&image);
        return std::unexpected(path.string() + ": " + image.message);
    }
    return picture;
}

} // namespace veskar
