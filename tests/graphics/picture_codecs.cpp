#include "graphics/picture_codecs_test.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include "core/byte_reader.h"
#include "graphics/jpeg_encoder.h"

namespace veskar::test {

std::vector<std::uint8_t> encodeJpeg(const Picture& picture, int quality) {
    return EncodeJpeg(picture, quality);
}

std::vector<std::uint8_t> encodeProgressiveJpeg(const Picture& picture) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    for (int c = 0; c < info.num_components; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

std::vector<std::uint8_t> withJpegDimensions(std::vector<std::uint8_t> jpeg, int width, int height) {
    // Walk the marker segments up to the frame header (FF C0 ... FF C2):
    // length (2), precision (1), height (2), width (2).
    for (std::size_t i = 2; i + 9 < jpeg.size() && jpeg[i] == 0xFF;) {
        if (jpeg[i + 1] >= 0xC0 && jpeg[i + 1] <= 0xC2) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            break;
        }
        i += 2 + (std::size_t{jpeg[i + 2]} << 8 | jpeg[i + 3]);
    }
    return jpeg;
}

std::vector<std::uint8_t> encodeBmp(const Picture& picture, bool topDown) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(picture.rowBytes()) + 3) & ~3u;
    const std::uint32_t dataSize = stride * static_cast<std::uint32_t>(picture.height());
    ByteWriter w;
    w.u8('B');
    w.u8('M');
    w.u32(54 + dataSize);
    w.u32(0);
    w.u32(54);
    w.u32(40);
    w.u32(static_cast<std::uint32_t>(picture.width()));
    w.u32(static_cast<std::uint32_t>(topDown ? -picture.height() : picture.height()));
    w.u16(1);
    w.u16(24);
    w.u32(0);
    w.u32(dataSize);
    w.u32(2835);
    w.u32(2835);
    w.u32(0);
    w.u32(0);
    for (int i = 0; i < picture.height(); ++i) {
        const int r = topDown ? i : picture.height() - 1 - i;
        w.bytes({picture.row(r), static_cast<std::size_t>(picture.rowBytes())});
        for (std::uint32_t p = static_cast<std::uint32_t>(picture.rowBytes()); p < stride; ++p)
            w.u8(0);
    }
    return std::move(w.data());
}

} // namespace veskar::test
