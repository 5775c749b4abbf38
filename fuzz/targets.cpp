#include "fuzz_targets.h"

#include <array>

namespace veskar::fuzz {

std::span<const Target> targets() {
    static constexpr std::array<Target, 5> kTargets{{
        {"archive_index", archiveIndex},
        {"packed_picture", packedPicture},
        {"jpeg", jpegPicture},
        {"bmp", bmpPicture},
        {"expression", expression},
    }};
    return kTargets;
}

} // namespace veskar::fuzz
