// 256-bit present kernels: eight 24-bit pixels are spread over the two
// 128-bit lanes (twelve bytes each), then shuffled within each lane.

#include <immintrin.h>

#include "graphics/present_kernels.h"

namespace veskar::present_kernels {

namespace {

void expand(const std::uint8_t* bgr, int pixels, std::uint32_t* out) {
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 2, 3, 4, 5, 5);
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, //
                                            0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    // A 32-byte load reads 10 2/3 pixels: stop while 11 are left.
    for (; i + 11 <= pixels; i += 8) {
        const __m256i in = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bgr + i * 3));
        const __m256i placed = _mm256_permutevar8x32_epi32(in, lanes);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_or_si256(_mm256_shuffle_epi8(placed, spread), alpha));
    }
    ssse3().expand(bgr + i * 3, pixels - i, out + i);
}

// Packing back is rare (once after a run of whole frames): the 128-bit one does.
void pack(const std::uint32_t* in, int pixels, std::uint8_t* bgr) { ssse3().pack(in, pixels, bgr); }

constexpr PresentKernels kTable{"avx2", expand, pack};

} // namespace

const PresentKernels& avx2() { return kTable; }

} // namespace veskar::present_kernels
