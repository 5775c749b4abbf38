#include <cstdlib>

#include "fuzz_targets.h"
#include "graphics/bmp_reader.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"

namespace veskar::fuzz {

namespace {
// A decoded picture is whole: its bytes are exactly width x height x 3.
void check(const std::expected<Picture, std::string>& picture) {
    if (!picture) {
        if (picture.error().empty()) std::abort(); // a refusal says why
        return;
    }
    const auto expected = std::size_t(picture->width()) * std::size_t(picture->height()) * 3;
    if (picture->width() < 0 || picture->height() < 0 || picture->bytes().size() != expected) std::abort();
}
} // namespace

void packedPicture(Bytes data) { check(DecodePackedPicture(data)); }

void jpegPicture(Bytes data) { check(DecodeJpeg(data)); }

void bmpPicture(Bytes data) { check(ReadBmp(data)); }

} // namespace veskar::fuzz
