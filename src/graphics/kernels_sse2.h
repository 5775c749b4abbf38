#pragma once
// The 128-bit row primitives by name, so that wider versions can hand them
// the groups left over after their own steps.

#include "graphics/kernel_rows.h"

namespace veskar::kernels::sse2 {

void maskBlend(const Byte* under, const Byte* picture, const Byte* mask, int groups, Byte* out);
void maskBlendAll(const Byte* a, const Byte* b, const Byte* mask, int groups, Byte* out);
void crossFade(const Byte* a, const Byte* b, int weight, int groups, Byte* out);
void scale(const Byte* p, int factor, int groups, Byte* out);
void add(const Byte* a, const Byte* b, int groups, Byte* out);
void addConstant(const Byte* p, int c, int groups, Byte* out);
void subtractConstant(const Byte* p, int c, int groups, Byte* out);

} // namespace veskar::kernels::sse2
