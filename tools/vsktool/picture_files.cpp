#include "picture_files.h"

#include <png.h>

#include <optional>

#include "alpha_mask.h"

#include "core/files.h"
#include "core/sjis.h"
#include "graphics/bmp_reader.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"

namespace vsktool {

namespace fs = std::filesystem;

namespace {

std::string extensionOf(const fs::path& path) { return veskar::upperAscii(path.extension().string()); }

std::expected<veskar::Picture, std::string> decodePng(std::span<const std::uint8_t> bytes,
                                                      std::optional<MaskSide> alphaMask, std::string* note) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return std::unexpected(std::string(image.message));
    if (alphaMask && (image.format & PNG_FORMAT_FLAG_ALPHA)) {
        image.format = PNG_FORMAT_BGRA;
        if (std::uint64_t{image.width} * image.height * 6 > veskar::kMaxPackedPictureBytes) {
            png_image_free(&image);
            return std::unexpected("picture too large");
        }
        std::vector<std::uint8_t> bgra(std::size_t{image.width} * image.height * 4);
        if (!png_image_finish_read(&image, nullptr, bgra.data(), static_cast<png_int_32>(image.width * 4),
                                   nullptr)) {
            png_image_free(&image);
            return std::unexpected(std::string(image.message));
        }
        const int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
        auto picture = withAlphaMask(bgra, w, h, *alphaMask);
        if (note)
            *note = "transparency made into a mask: " + std::to_string(picture.width()) + " x " +
                    std::to_string(picture.height()) + ", the mask on the " +
                    (*alphaMask == MaskSide::Right ? "right half" : "bottom half");
        return picture;
    }
    // Transparent pixels are composed over black: engine pictures have no alpha.
    image.format = PNG_FORMAT_BGR;
    if (std::uint64_t{image.width} * image.height * 3 > veskar::kMaxPackedPictureBytes) {
        png_image_free(&image);
        return std::unexpected("picture too large");
    }
    veskar::Picture picture(static_cast<int>(image.width), static_cast<int>(image.height));
    png_color black{0, 0, 0};
    if (!png_image_finish_read(&image, &black, picture.bytes().data(), picture.rowBytes(), nullptr)) {
        png_image_free(&image);
        return std::unexpected(std::string(image.message));
    }
    return picture;
}

} // namespace

bool isSourcePicture(const fs::path& path) {
    const std::string ext = extensionOf(path);
    return ext == ".PNG" || ext == ".BMP";
}

std::expected<veskar::Picture, std::string> readSourcePicture(const fs::path& path, bool alphaToMask,
                                                              std::string* note) {
    auto bytes = veskar::readWholeFile(path);
    if (!bytes) return std::unexpected(bytes.error());
    std::optional<MaskSide> side;
    if (alphaToMask) {
        const std::string stem = veskar::upperAscii(path.stem().string());
        side = stem == "SYS_TW" || stem == "SYS_TW1" ? MaskSide::Bottom : MaskSide::Right;
    }
    auto picture = extensionOf(path) == ".BMP" ? veskar::ReadBmp(*bytes) : decodePng(*bytes, side, note);
    if (!picture) return std::unexpected(path.string() + ": " + picture.error());
    return picture;
}

std::expected<veskar::Picture, std::string> decodeStoredPicture(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) return veskar::DecodeJpeg(bytes);
    return veskar::DecodePackedPicture(bytes);
}

std::expected<void, std::string> writePngFile(const veskar::Picture& picture, const fs::path& path) {
    if (picture.empty()) return std::unexpected("an empty picture cannot be written as PNG");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width());
    image.height = static_cast<png_uint_32>(picture.height());
    image.format = PNG_FORMAT_BGR;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.bytes().data(), picture.rowBytes(),
                                   nullptr))
        return std::unexpected("cannot encode PNG: " + std::string(image.message));
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, picture.bytes().data(), picture.rowBytes(),
                                   nullptr))
        return std::unexpected("cannot encode PNG: " + std::string(image.message));
    out.resize(size);
    return veskar::writeFileAtomically(path, out);
}

} // namespace vsktool
