// The kernels on 128-bit vectors: two groups of 8 bytes per step, a lone
// last group through the low half of a register.

#if defined(__x86_64__) || defined(__i386__)

#include <emmintrin.h>

#include "graphics/kernel_rows.h"
#include "graphics/kernels_sse2.h"

namespace veskar::kernels {

namespace {

inline __m128i load16(const Byte* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store16(Byte* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i load8(const Byte* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
inline void store8(Byte* p, __m128i v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v); }

// (d * (255 - m) >> 8) + (s * m >> 8) on 8 bytes widened to 16 bits; the sum
// stays below 255, so packing cannot saturate.
inline __m128i blendHalf(__m128i d, __m128i s, __m128i m) {
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), m);
    return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(d, inverse), 8),
                         _mm_srli_epi16(_mm_mullo_epi16(s, m), 8));
}

inline __m128i blend16(__m128i d, __m128i s, __m128i m) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo =
        blendHalf(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(m, zero));
    const __m128i hi =
        blendHalf(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(m, zero));
    return _mm_packus_epi16(lo, hi);
}

inline __m128i fadeHalf(__m128i a, __m128i b, __m128i w, __m128i iw) {
    // a * w + b * (256 - w) <= 255 * 256: exact in 16 bits.
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, w), _mm_mullo_epi16(b, iw)), 8);
}

inline __m128i fade16(__m128i a, __m128i b, __m128i w, __m128i iw) {
    const __m128i zero = _mm_setzero_si128();
    return _mm_packus_epi16(fadeHalf(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), w, iw),
                            fadeHalf(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), w, iw));
}

inline __m128i scale16(__m128i p, __m128i f) {
    const __m128i zero = _mm_setzero_si128();
    return _mm_packus_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), f), 8),
                            _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), f), 8));
}

// Applies `op` to 16-byte steps and a last 8-byte group.
template <typename Op>
inline void unary(const Byte* p, int groups, Byte* out, Op op) {
    int g = 0;
    for (; g + 2 <= groups; g += 2)
        store16(out + g * 8, op(load16(p + g * 8)));
    if (g < groups) store8(out + g * 8, op(load8(p + g * 8)));
}

template <typename Op>
inline void binary(const Byte* a, const Byte* b, int groups, Byte* out, Op op) {
    int g = 0;
    for (; g + 2 <= groups; g += 2)
        store16(out + g * 8, op(load16(a + g * 8), load16(b + g * 8)));
    if (g < groups) store8(out + g * 8, op(load8(a + g * 8), load8(b + g * 8)));
}

} // namespace

namespace sse2 {

void maskBlend(const Byte* under, const Byte* picture, const Byte* mask, int groups, Byte* out) {
    const __m128i zero = _mm_setzero_si128();
    int g = 0;
    for (; g + 2 <= groups; g += 2) {
        const int at = g * 8;
        const __m128i m = load16(mask + at);
        const __m128i d = load16(under + at);
        const int clear = _mm_movemask_epi8(_mm_cmpeq_epi8(m, zero));
        if (clear == 0xFFFF) {
            // Transparent: only the test is paid.
            store16(out + at, d);
            continue;
        }
        __m128i r = blend16(d, load16(picture + at), m);
        if ((clear & 0xFF) == 0xFF || (clear >> 8) == 0xFF) {
            const __m128i keep =
                _mm_set_epi64x((clear >> 8) == 0xFF ? -1 : 0, (clear & 0xFF) == 0xFF ? -1 : 0);
            r = _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, r));
        }
        store16(out + at, r);
    }
    if (g < groups) {
        const int at = g * 8;
        const __m128i m = load8(mask + at);
        const __m128i d = load8(under + at);
        if ((_mm_movemask_epi8(_mm_cmpeq_epi8(m, zero)) & 0xFF) == 0xFF)
            store8(out + at, d);
        else
            store8(out + at, blend16(d, load8(picture + at), m));
    }
}

void maskBlendAll(const Byte* a, const Byte* b, const Byte* mask, int groups, Byte* out) {
    int g = 0;
    for (; g + 2 <= groups; g += 2) {
        const int at = g * 8;
        store16(out + at, blend16(load16(a + at), load16(b + at), load16(mask + at)));
    }
    if (g < groups) {
        const int at = g * 8;
        store8(out + at, blend16(load8(a + at), load8(b + at), load8(mask + at)));
    }
}

void crossFade(const Byte* a, const Byte* b, int weight, int groups, Byte* out) {
    const __m128i w = _mm_set1_epi16(static_cast<short>(weight));
    const __m128i iw = _mm_set1_epi16(static_cast<short>(256 - weight));
    binary(a, b, groups, out, [w, iw](__m128i x, __m128i y) { return fade16(x, y, w, iw); });
}

void scale(const Byte* p, int factor, int groups, Byte* out) {
    const __m128i f = _mm_set1_epi16(static_cast<short>(factor));
    unary(p, groups, out, [f](__m128i v) { return scale16(v, f); });
}

void add(const Byte* a, const Byte* b, int groups, Byte* out) {
    binary(a, b, groups, out, [](__m128i x, __m128i y) { return _mm_adds_epu8(x, y); });
}

void addConstant(const Byte* p, int c, int groups, Byte* out) {
    const __m128i k = _mm_set1_epi8(static_cast<char>(c));
    unary(p, groups, out, [k](__m128i v) { return _mm_adds_epu8(v, k); });
}

void subtractConstant(const Byte* p, int c, int groups, Byte* out) {
    const __m128i k = _mm_set1_epi8(static_cast<char>(c));
    unary(p, groups, out, [k](__m128i v) { return _mm_subs_epu8(v, k); });
}

} // namespace sse2

const KernelRows& sse2Rows() {
    static const KernelRows rows{"sse2",      sse2::maskBlend, sse2::maskBlendAll, sse2::crossFade,
                                 sse2::scale, sse2::add,       sse2::addConstant,  sse2::subtractConstant};
    return rows;
}

} // namespace veskar::kernels

#endif
