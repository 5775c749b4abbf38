// 128-bit present kernels: one byte shuffle turns four 24-bit pixels into
// four 32-bit ones and back.

#include <tmmintrin.h>

#include "graphics/present_kernels.h"

namespace veskar::present_kernels {

namespace {

const __m128i kSpread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
const __m128i kGather = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);

void expand(const std::uint8_t* bgr, int pixels, std::uint32_t* out) {
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    // A 16-byte load reads 5 1/3 pixels: stop while 6 are left.
    for (; i + 6 <= pixels; i += 4) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + i * 3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_shuffle_epi8(in, kSpread), alpha));
    }
    referencePresentKernels().expand(bgr + i * 3, pixels - i, out + i);
}

void pack(const std::uint32_t* in, int pixels, std::uint8_t* bgr) {
    int i = 0;
    // A 16-byte store writes 5 1/3 pixels; the next step overwrites the extra.
    for (; i + 6 <= pixels; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr + i * 3), _mm_shuffle_epi8(v, kGather));
    }
    referencePresentKernels().pack(in + i, pixels - i, bgr + i * 3);
}

constexpr PresentKernels kTable{"ssse3", expand, pack};

} // namespace

const PresentKernels& ssse3() { return kTable; }

} // namespace veskar::present_kernels
