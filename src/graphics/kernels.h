#pragma once
// The pixel kernels every blend, fade and masked draw goes through. They work
// on whole groups of 8 bytes without regard to which colour a byte is; unless
// said otherwise the last (3w mod 8) bytes of a w-pixel row are left alone
// (an 800-pixel row is exactly 300 groups). Products are taken on bytes
// widened to 16 bits and divided by 256 rounding down, so every
// implementation gives the same bytes.
//
// Whole-picture kernels work on the area all their pictures share (the
// screen pictures are all 800 x 600); the output may be one of the inputs.

#include <cstdint>

#include "core/picture.h"

namespace veskar {

// Per byte: min(255, under * (255 - m) / 256 + picture * m / 256), except
// that a group whose 8 mask bytes are all 0 copies `under` unchanged. `out`
// may be `under`.
void MaskBlendRow(const std::uint8_t* under, const std::uint8_t* picture, const std::uint8_t* mask, int groups,
                  std::uint8_t* out);
// Per byte: (a * weight + b * (256 - weight)) / 256; weight 0 ... 256
// (clamped), so 256 gives `a` and 0 gives `b` exactly.
void CrossFadeRow(const std::uint8_t* a, const std::uint8_t* b, int weight, int groups, std::uint8_t* out);

// Per byte: min(255, a * (255 - m) / 256 + b * m / 256), with no shortcut
// for zero masks.
void MaskBlendScreen(const Picture& a, const Picture& b, const Picture& mask, Picture& out);
void CrossFadeScreen(const Picture& a, const Picture& b, int weight, Picture& out);
// The 80 x 60 block at (x, y): out = (prev * weight + next * (256 - weight)) / 256.
constexpr int kFadeBlockWidth = 80;
constexpr int kFadeBlockHeight = 60;
void CrossFadeBlock(const Picture& prev, const Picture& next, int x, int y, int weight, Picture& out);
// Per byte: p * factor / 256; factor 0 ... 256 (clamped).
void ScaleScreen(const Picture& p, Picture& out, int factor);
// Per byte: min(255, a + b).
void AddPictures(const Picture& a, const Picture& b, Picture& out);
// Per byte: min(255, p + c) and max(0, p - c); c below 0 counts as 0.
void AddConstant(const Picture& p, Picture& out, int c);
void SubtractConstant(const Picture& p, Picture& out, int c);

// Masked draws of picture `p` into `dest` with p's top-left corner at (x, y).
// Clipped at every edge of `dest`: whole groups of 8 pixels go through
// MaskBlendRow, the rest of each row byte by byte as
// (d * (255 - m) + s * m) / 256.
//
// `mask` has p's size (a smaller one limits the drawn area).
void DrawMaskedSprite(Picture& dest, const Picture& p, int x, int y, const Picture& mask);
// p's left half (width w / 2) is the picture, its right half the mask.
void DrawHalfMaskedH(Picture& dest, int x, const Picture& p, int y);
// p's top half (height h / 2) is the picture, its bottom half the mask. Not
// clipped: a picture that does not fit entirely draws nothing (false).
// Each row blends floor(3w / 8) groups; the remaining bytes are not drawn.
bool DrawHalfMaskedV(Picture& dest, int x, const Picture& p, int y);

} // namespace veskar
