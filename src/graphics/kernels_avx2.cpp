// The kernels on 256-bit vectors: four groups of 8 bytes per step; the groups
// left over go through the 128-bit versions.

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include "graphics/kernel_rows.h"
#include "graphics/kernels_sse2.h"

namespace veskar::kernels {

namespace {

constexpr int kStep = 4; // groups per vector

inline __m256i load(const Byte* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void store(Byte* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// Unpacking and packing both work within 128-bit lanes, so bytes come back
// in their places.
inline __m256i blendHalf(__m256i d, __m256i s, __m256i m) {
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), m);
    return _mm256_add_epi16(_mm256_srli_epi16(_mm256_mullo_epi16(d, inverse), 8),
                            _mm256_srli_epi16(_mm256_mullo_epi16(s, m), 8));
}

inline __m256i blend(__m256i d, __m256i s, __m256i m) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(blendHalf(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(s, zero),
                                         _mm256_unpacklo_epi8(m, zero)),
                               blendHalf(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(s, zero),
                                         _mm256_unpackhi_epi8(m, zero)));
}

inline __m256i fadeHalf(__m256i a, __m256i b, __m256i w, __m256i iw) {
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, w), _mm256_mullo_epi16(b, iw)), 8);
}

void maskBlend(const Byte* under, const Byte* picture, const Byte* mask, int groups, Byte* out) {
    const __m256i zero = _mm256_setzero_si256();
    int g = 0;
    for (; g + kStep <= groups; g += kStep) {
        const int at = g * 8;
        const __m256i m = load(mask + at);
        const __m256i d = load(under + at);
        const __m256i clear = _mm256_cmpeq_epi64(m, zero); // all ones per group without mask
        const int bits = _mm256_movemask_epi8(clear);
        if (bits == -1) {
            store(out + at, d);
            continue;
        }
        __m256i r = blend(d, load(picture + at), m);
        if (bits != 0) r = _mm256_blendv_epi8(r, d, clear);
        store(out + at, r);
    }
    if (g < groups) sse2::maskBlend(under + g * 8, picture + g * 8, mask + g * 8, groups - g, out + g * 8);
}

void maskBlendAll(const Byte* a, const Byte* b, const Byte* mask, int groups, Byte* out) {
    int g = 0;
    for (; g + kStep <= groups; g += kStep) {
        const int at = g * 8;
        store(out + at, blend(load(a + at), load(b + at), load(mask + at)));
    }
    if (g < groups) sse2::maskBlendAll(a + g * 8, b + g * 8, mask + g * 8, groups - g, out + g * 8);
}

void crossFade(const Byte* a, const Byte* b, int weight, int groups, Byte* out) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i w = _mm256_set1_epi16(static_cast<short>(weight));
    const __m256i iw = _mm256_set1_epi16(static_cast<short>(256 - weight));
    int g = 0;
    for (; g + kStep <= groups; g += kStep) {
        const int at = g * 8;
        const __m256i x = load(a + at), y = load(b + at);
        store(out + at, _mm256_packus_epi16(
                            fadeHalf(_mm256_unpacklo_epi8(x, zero), _mm256_unpacklo_epi8(y, zero), w, iw),
                            fadeHalf(_mm256_unpackhi_epi8(x, zero), _mm256_unpackhi_epi8(y, zero), w, iw)));
    }
    if (g < groups) sse2::crossFade(a + g * 8, b + g * 8, weight, groups - g, out + g * 8);
}

void scale(const Byte* p, int factor, int groups, Byte* out) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i f = _mm256_set1_epi16(static_cast<short>(factor));
    int g = 0;
    for (; g + kStep <= groups; g += kStep) {
        const int at = g * 8;
        const __m256i x = load(p + at);
        store(out + at, _mm256_packus_epi16(
                            _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(x, zero), f), 8),
                            _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(x, zero), f), 8)));
    }
    if (g < groups) sse2::scale(p + g * 8, factor, groups - g, out + g * 8);
}

void add(const Byte* a, const Byte* b, int groups, Byte* out) {
    int g = 0;
    for (; g + kStep <= groups; g += kStep)
        store(out + g * 8, _mm256_adds_epu8(load(a + g * 8), load(b + g * 8)));
    if (g < groups) sse2::add(a + g * 8, b + g * 8, groups - g, out + g * 8);
}

void addConstant(const Byte* p, int c, int groups, Byte* out) {
    const __m256i k = _mm256_set1_epi8(static_cast<char>(c));
    int g = 0;
    for (; g + kStep <= groups; g += kStep)
        store(out + g * 8, _mm256_adds_epu8(load(p + g * 8), k));
    if (g < groups) sse2::addConstant(p + g * 8, c, groups - g, out + g * 8);
}

void subtractConstant(const Byte* p, int c, int groups, Byte* out) {
    const __m256i k = _mm256_set1_epi8(static_cast<char>(c));
    int g = 0;
    for (; g + kStep <= groups; g += kStep)
        store(out + g * 8, _mm256_subs_epu8(load(p + g * 8), k));
    if (g < groups) sse2::subtractConstant(p + g * 8, c, groups - g, out + g * 8);
}

} // namespace

const KernelRows& avx2Rows() {
    static const KernelRows rows{"avx2", maskBlend, maskBlendAll, crossFade,
                                 scale,  add,       addConstant,  subtractConstant};
    return rows;
}

} // namespace veskar::kernels

#endif
