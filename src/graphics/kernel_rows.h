#pragma once
// The row primitives behind graphics/kernels.h, one table per instruction
// set. The fastest one the processor supports is chosen once at run time;
// tests and benchmarks reach every table that can run here.

#include <cstdint>
#include <span>
#include <string_view>

namespace veskar::kernels {

using Byte = std::uint8_t;

struct KernelRows {
    std::string_view name;
    // MaskBlendRow, with the all-zero-mask shortcut.
    void (*maskBlend)(const Byte* under, const Byte* picture, const Byte* mask, int groups, Byte* out);
    // The same formula for every group.
    void (*maskBlendAll)(const Byte* a, const Byte* b, const Byte* mask, int groups, Byte* out);
    // weight 0 ... 256.
    void (*crossFade)(const Byte* a, const Byte* b, int weight, int groups, Byte* out);
    // factor 0 ... 256.
    void (*scale)(const Byte* p, int factor, int groups, Byte* out);
    void (*add)(const Byte* a, const Byte* b, int groups, Byte* out);
    // c 0 ... 255.
    void (*addConstant)(const Byte* p, int c, int groups, Byte* out);
    void (*subtractConstant)(const Byte* p, int c, int groups, Byte* out);
};

const KernelRows& referenceRows();
#if defined(__x86_64__) || defined(__i386__)
const KernelRows& sse2Rows();
const KernelRows& avx2Rows();
#endif

// The table in use.
const KernelRows& activeRows();
// Every table this processor can run, the reference first.
std::span<const KernelRows* const> availableRows();

} // namespace veskar::kernels
