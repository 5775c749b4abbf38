// The libFuzzer entry of one target, chosen by VESKAR_FUZZ_TARGET when the
// program is built.

#include <cstddef>
#include <cstdint>

#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veskar::fuzz::VESKAR_FUZZ_TARGET({data, size});
    return 0;
}
