// The kernels written plainly, byte by byte: the definition the vector
// versions are tested against, and what non-x86 builds use.

#include <algorithm>
#include <cstring>

#include "graphics/kernel_rows.h"

namespace veskar::kernels {

namespace {

Byte blendByte(unsigned d, unsigned s, unsigned m) {
    return static_cast<Byte>(std::min(255u, ((d * (255 - m)) >> 8) + ((s * m) >> 8)));
}

void maskBlend(const Byte* under, const Byte* picture, const Byte* mask, int groups, Byte* out) {
    for (int g = 0; g < groups; ++g) {
        const int at = g * 8;
        const bool clear = std::all_of(mask + at, mask + at + 8, [](Byte m) { return m == 0; });
        for (int i = at; i < at + 8; ++i) out[i] = clear ? under[i] : blendByte(under[i], picture[i], mask[i]);
    }
}

void maskBlendAll(const Byte* a, const Byte* b, const Byte* mask, int groups, Byte* out) {
    for (int i = 0; i < groups * 8; ++i) out[i] = blendByte(a[i], b[i], mask[i]);
}

void crossFade(const Byte* a, const Byte* b, int weight, int groups, Byte* out) {
    const unsigned w = static_cast<unsigned>(weight);
    for (int i = 0; i < groups * 8; ++i) out[i] = static_cast<Byte>((a[i] * w + b[i] * (256 - w)) >> 8);
}

void scale(const Byte* p, int factor, int groups, Byte* out) {
    const unsigned f = static_cast<unsigned>(factor);
    for (int i = 0; i < groups * 8; ++i) out[i] = static_cast<Byte>((p[i] * f) >> 8);
}

void add(const Byte* a, const Byte* b, int groups, Byte* out) {
    for (int i = 0; i < groups * 8; ++i) out[i] = static_cast<Byte>(std::min(255, a[i] + b[i]));
}

void addConstant(const Byte* p, int c, int groups, Byte* out) {
    for (int i = 0; i < groups * 8; ++i) out[i] = static_cast<Byte>(std::min(255, p[i] + c));
}

void subtractConstant(const Byte* p, int c, int groups, Byte* out) {
    for (int i = 0; i < groups * 8; ++i) out[i] = static_cast<Byte>(std::max(0, p[i] - c));
}

} // namespace

const KernelRows& referenceRows() {
    static const KernelRows rows{"reference", maskBlend, maskBlendAll, crossFade, scale,
                                 add,         addConstant, subtractConstant};
    return rows;
}

} // namespace veskar::kernels
