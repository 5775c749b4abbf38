#include "graphics/pictures.h"

#include <iostream>

#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"
#include "shell/engine.h"

namespace veskar {

namespace {
constexpr SlotRef kJpegOrder[] = {{ArchiveSet::JpegPictures, 1}};
constexpr SlotRef kPackedOrder[] = {{ArchiveSet::Pictures, 3}, {ArchiveSet::Pictures, 2}, {ArchiveSet::Pictures, 1}};
} // namespace

Pictures::Pictures(Engine& engine) : engine_(engine) {}

bool Pictures::PictureExists(std::string_view name) const {
    return engine_.archives.FindEntry(kJpegOrder, name) || engine_.archives.FindEntry(kPackedOrder, name);
}

bool Pictures::LoadPicture(std::string_view name, Picture& target) {
    const bool jpeg = engine_.archives.FindEntry(kJpegOrder, name).has_value();
    const auto entry = jpeg ? engine_.archives.FindEntry(kJpegOrder, name) : engine_.archives.FindEntry(kPackedOrder, name);
    if (!entry) return false;
    const auto bytes = engine_.archives.readEntry(*entry);
    if (!bytes) return false;
    auto decoded = jpeg ? DecodeJpeg(*bytes) : DecodePackedPicture(*bytes);
    if (!decoded) {
        std::cerr << "veskar: picture '" << name << "': " << decoded.error() << '\n';
        return false;
    }
    target = std::move(*decoded);
    return true;
}

} // namespace veskar
