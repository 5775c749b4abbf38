// Choosing the row primitives, and the picture-level kernels and masked
// draws built on them.

#include "graphics/kernels.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "graphics/kernel_rows.h"

namespace veskar {

namespace kernels {

namespace {

struct Available {
    std::array<const KernelRows*, 3> rows{};
    std::size_t count = 0;
};

Available detect() {
    Available a;
    a.rows[a.count++] = &referenceRows();
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("sse2")) a.rows[a.count++] = &sse2Rows();
    if (__builtin_cpu_supports("avx2")) a.rows[a.count++] = &avx2Rows();
#endif
    return a;
}

const Available& available() {
    static const Available a = detect();
    return a;
}

} // namespace

std::span<const KernelRows* const> availableRows() {
    const Available& a = available();
    return {a.rows.data(), a.count};
}

const KernelRows& activeRows() {
    // The last one detected is the widest.
    static const KernelRows& rows = *availableRows().back();
    return rows;
}

} // namespace kernels

namespace {

using kernels::activeRows;
using kernels::Byte;

// Runs `rowOp(row index, bytes)` over the rows and bytes all pictures share;
// pictures of one size with rows of whole groups run as one long row.
template <typename RowOp>
void forSharedRows(std::initializer_list<const Picture*> pictures, Picture& out, RowOp rowOp) {
    int rows = out.height(), rowBytes = out.rowBytes();
    bool sameShape = true;
    for (const Picture* p : pictures) {
        rows = std::min(rows, p->height());
        rowBytes = std::min(rowBytes, p->rowBytes());
        sameShape = sameShape && p->width() == out.width() && p->height() == out.height();
    }
    if (rows <= 0 || rowBytes < 8) return;
    if (sameShape && rowBytes % 8 == 0) {
        rowOp(0, static_cast<std::size_t>(rowBytes) * rows / 8);
        return;
    }
    for (int y = 0; y < rows; ++y)
        rowOp(y, static_cast<std::size_t>(rowBytes / 8));
}

int clampWeight(int w) { return std::clamp(w, 0, 256); }
int clampConstant(int c) { return std::clamp(c, 0, 255); }

} // namespace

void MaskBlendRow(const std::uint8_t* under, const std::uint8_t* picture, const std::uint8_t* mask,
                  int groups, std::uint8_t* out) {
    if (groups > 0) activeRows().maskBlend(under, picture, mask, groups, out);
}

void CrossFadeRow(const std::uint8_t* a, const std::uint8_t* b, int weight, int groups, std::uint8_t* out) {
    if (groups > 0) activeRows().crossFade(a, b, clampWeight(weight), groups, out);
}

void MaskBlendScreen(const Picture& a, const Picture& b, const Picture& mask, Picture& out) {
    const auto& k = activeRows();
    forSharedRows({&a, &b, &mask}, out, [&](int y, std::size_t groups) {
        k.maskBlendAll(a.row(y), b.row(y), mask.row(y), static_cast<int>(groups), out.row(y));
    });
}

void CrossFadeScreen(const Picture& a, const Picture& b, int weight, Picture& out) {
    const auto& k = activeRows();
    const int w = clampWeight(weight);
    forSharedRows({&a, &b}, out, [&](int y, std::size_t groups) {
        k.crossFade(a.row(y), b.row(y), w, static_cast<int>(groups), out.row(y));
    });
}

void CrossFadeBlock(const Picture& prev, const Picture& next, int x, int y, int weight, Picture& out) {
    int width = std::min({prev.width(), next.width(), out.width()});
    int height = std::min({prev.height(), next.height(), out.height()});
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const long long x1 = std::min<long long>(static_cast<long long>(x) + kFadeBlockWidth, width);
    const long long y1 = std::min<long long>(static_cast<long long>(y) + kFadeBlockHeight, height);
    if (x0 >= x1 || y0 >= y1) return;
    const int groups = static_cast<int>((x1 - x0) * 3 / 8);
    const int w = clampWeight(weight);
    const auto& k = activeRows();
    for (int r = y0; r < y1; ++r)
        if (groups > 0)
            k.crossFade(prev.row(r) + x0 * 3, next.row(r) + x0 * 3, w, groups, out.row(r) + x0 * 3);
}

void ScaleScreen(const Picture& p, Picture& out, int factor) {
    const auto& k = activeRows();
    const int f = clampWeight(factor);
    forSharedRows({&p}, out, [&](int y, std::size_t groups) {
        k.scale(p.row(y), f, static_cast<int>(groups), out.row(y));
    });
}

void AddPictures(const Picture& a, const Picture& b, Picture& out) {
    const auto& k = activeRows();
    forSharedRows({&a, &b}, out, [&](int y, std::size_t groups) {
        k.add(a.row(y), b.row(y), static_cast<int>(groups), out.row(y));
    });
}

void AddConstant(const Picture& p, Picture& out, int c) {
    const auto& k = activeRows();
    const int v = clampConstant(c);
    forSharedRows({&p}, out, [&](int y, std::size_t groups) {
        k.addConstant(p.row(y), v, static_cast<int>(groups), out.row(y));
    });
}

void SubtractConstant(const Picture& p, Picture& out, int c) {
    const auto& k = activeRows();
    const int v = clampConstant(c);
    forSharedRows({&p}, out, [&](int y, std::size_t groups) {
        k.subtractConstant(p.row(y), v, static_cast<int>(groups), out.row(y));
    });
}

namespace {

// A w x h picture whose row r and mask row r come from `pictureRow` and
// `maskRow`, drawn into `dest` at (x, y) and clipped at every edge.
template <typename PictureRow, typename MaskRow>
void drawMaskedClipped(Picture& dest, int x, int y, int w, int h, PictureRow pictureRow, MaskRow maskRow) {
    if (w <= 0 || h <= 0 || x >= dest.width() || y > dest.height()) return;
    const long long c0 = std::max(0LL, -static_cast<long long>(x));
    const long long r0 = std::max(0LL, -static_cast<long long>(y));
    const long long c1 = std::min<long long>(w, static_cast<long long>(dest.width()) - x);
    const long long r1 = std::min<long long>(h, static_cast<long long>(dest.height()) - y);
    if (c0 >= c1 || r0 >= r1) return;
    const int visible = static_cast<int>(c1 - c0);
    const int groups = visible / 8 * 3;
    const int bytes = visible * 3;
    const auto& k = activeRows();
    for (long long r = r0; r < r1; ++r) {
        Byte* d = dest.row(static_cast<int>(y + r)) + (x + c0) * 3;
        const Byte* s = pictureRow(static_cast<int>(r)) + c0 * 3;
        const Byte* m = maskRow(static_cast<int>(r)) + c0 * 3;
        if (groups > 0) k.maskBlend(d, s, m, groups, d);
        for (int i = groups * 8; i < bytes; ++i)
            d[i] = static_cast<Byte>((d[i] * (255u - m[i]) + s[i] * static_cast<unsigned>(m[i])) >> 8);
    }
}

} // namespace

void DrawMaskedSprite(Picture& dest, const Picture& p, int x, int y, const Picture& mask) {
    const int w = std::min(p.width(), mask.width());
    const int h = std::min(p.height(), mask.height());
    drawMaskedClipped(
        dest, x, y, w, h, [&](int r) { return p.row(r); }, [&](int r) { return mask.row(r); });
}

void DrawHalfMaskedH(Picture& dest, int x, const Picture& p, int y) {
    const int half = p.width() / 2;
    drawMaskedClipped(
        dest, x, y, half, p.height(), [&](int r) { return p.row(r); },
        [&](int r) { return p.row(r) + half * 3; });
}

bool DrawHalfMaskedV(Picture& dest, int x, const Picture& p, int y) {
    const int half = p.height() / 2;
    const long long right = static_cast<long long>(x) + p.width();
    const long long bottom = static_cast<long long>(y) + half;
    // Not clipped: anything that does not fit is refused whole ("ILLEGAL BMP").
    if (x < 0 || y < 0 || right > dest.width() || bottom > dest.height()) return false;
    const int groups = p.rowBytes() / 8;
    if (groups == 0) return true;
    const auto& k = activeRows();
    for (int r = 0; r < half; ++r) {
        Byte* d = dest.row(y + r) + x * 3;
        k.maskBlend(d, p.row(r), p.row(half + r), groups, d);
    }
    return true;
}

} // namespace veskar
