#include "graphics/present_kernels.h"

#include <array>
#include <cstddef>

namespace veskar {

namespace {

void expandReference(const std::uint8_t* bgr, int pixels, std::uint32_t* out) {
    for (int i = 0; i < pixels; ++i, bgr += 3)
        out[i] = 0xFF000000u | (std::uint32_t{bgr[2]} << 16) | (std::uint32_t{bgr[1]} << 8) | bgr[0];
}

void packReference(const std::uint32_t* in, int pixels, std::uint8_t* bgr) {
    for (int i = 0; i < pixels; ++i, bgr += 3) {
        bgr[0] = static_cast<std::uint8_t>(in[i]);
        bgr[1] = static_cast<std::uint8_t>(in[i] >> 8);
        bgr[2] = static_cast<std::uint8_t>(in[i] >> 16);
    }
}

constexpr PresentKernels kReference{"reference", expandReference, packReference};

struct Available {
    std::array<const PresentKernels*, 3> tables{};
    std::size_t count = 0;
};

Available detect() {
    Available a;
    a.tables[a.count++] = &kReference;
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("ssse3")) a.tables[a.count++] = &present_kernels::ssse3();
    if (__builtin_cpu_supports("avx2")) a.tables[a.count++] = &present_kernels::avx2();
#endif
    return a;
}

const Available& available() {
    static const Available a = detect();
    return a;
}

} // namespace

const PresentKernels& referencePresentKernels() { return kReference; }

std::span<const PresentKernels* const> availablePresentKernels() {
    const Available& a = available();
    return {a.tables.data(), a.count};
}

const PresentKernels& activePresentKernels() {
    static const PresentKernels& active = *availablePresentKernels().back();
    return active;
}

} // namespace veskar
