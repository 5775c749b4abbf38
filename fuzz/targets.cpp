#include "fuzz_targets.h"

#include <array>

namespace veskar::fuzz {

std::span<const Target> targets() {
    static constexpr std::array<Target, 9> kTargets{{
        {"archive_index", archiveIndex},
        {"packed_picture", packedPicture},
        {"jpeg", jpegPicture},
        {"bmp", bmpPicture},
        {"expression", expression},
        {"definition", gameDefinition},
        {"sprset", spriteSets},
        {"assignment_condition", assignmentsAndConditions},
        {"script", scriptRun},
    }};
    return kTargets;
}

} // namespace veskar::fuzz
