#include "graphics/picture_codecs_test.h"

#include <cstdio>
#include <cstdlib>

#include "core/byte_reader.h"
#include "graphics/jpeg_encoder.h"

namespace veskar::test {

std::vector<std::uint8_t> encodeJpeg(const Picture& picture, int quality) {
    return EncodeJpeg(picture, quality);
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
