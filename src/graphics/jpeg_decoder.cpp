#include "graphics/jpeg_decoder.h"

// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

// jerror.h needs jpeglib.h first.
#include <jerror.h>

namespace veskar {

namespace {

// Pictures beyond this (bytes) are refused rather than allocated.
constexpr std::uint64_t kMaxJpegPictureBytes = 256ull << 20;
// What libjpeg may allocate for itself while decoding one picture; a
// progressive picture needs about two bytes per sample of it.
constexpr long kMaxJpegDecoderMemory = 128l << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's default would end the process; return to DecodeJpeg instead.
[[noreturn]] void exitWithError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings about slightly damaged data are not worth a line on stderr.
void ignoreMessage(j_common_ptr) {}

struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    ~Decompressor() { jpeg_destroy_decompress(&info); }
};

// Everything between setjmp and a possible longjmp lives in `d` and `out`,
// which belong to the caller's frame, so nothing here needs unwinding.
bool decode(Decompressor& d, std::span<const std::uint8_t> bytes, Picture& out, std::string& error) {
    d.info.err = jpeg_std_error(&d.errors.base);
    d.errors.base.error_exit = exitWithError;
    d.errors.base.output_message = ignoreMessage;
    if (setjmp(d.errors.jump)) {
        // libjpeg asks for a backing store once the memory cap is reached.
        if (d.errors.base.msg_code == JERR_NO_BACKING_STORE)
            error = "JPEG picture of " + std::to_string(d.info.image_width) + " x " +
                    std::to_string(d.info.image_height) + " needs more than " +
                    std::to_string(kMaxJpegDecoderMemory >> 20) + " MB to decode";
        else
            error = d.errors.message;
        return false;
    }
    jpeg_create_decompress(&d.info);
    // A progressive file holds every coefficient of the picture until its last
    // scan; that memory, too, must stay bounded whatever the header says.
    d.info.mem->max_memory_to_use = kMaxJpegDecoderMemory;
    jpeg_mem_src(&d.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    d.info.out_color_space = JCS_EXT_BGR; // the engine's byte order, straight from the decoder
    // The size is checked before jpeg_start_decompress, which allocates for it.
    jpeg_calc_output_dimensions(&d.info);
    const std::uint64_t size = std::uint64_t{d.info.output_width} * d.info.output_height * 3;
    if (d.info.output_components != 3 || size > kMaxJpegPictureBytes) {
        error = "JPEG picture of " + std::to_string(d.info.output_width) + " x " +
                std::to_string(d.info.output_height) + " cannot be shown";
        return false;
    }
    jpeg_start_decompress(&d.info);
    out.resize(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height));
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = out.row(static_cast<int>(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

std::expected<Picture, std::string> DecodeJpeg(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return std::unexpected("JPEG: no data");
    Decompressor d;
    Picture picture;
    std::string error;
    if (!decode(d, bytes, picture, error)) return std::unexpected("JPEG: " + error);
    return picture;
}

} // namespace veskar
