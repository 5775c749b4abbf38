#include "graphics/picture_codecs_test.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include "core/byte_reader.h"

namespace veskar::test {

std::vector<std::uint8_t> encodeJpeg(const Picture& picture, int quality) {
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
    jpeg_set_quality(&info, quality, TRUE);
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
        for (std::uint32_t p = static_cast<std::uint32_t>(picture.rowBytes()); p < stride; ++p) w.u8(0);
    }
    return std::move(w.data());
}

} // namespace veskar::test
