#pragma once
// Window pixels as the screen takes them. The engine draws 24-bit pictures
// (blue, green, red); displays take 32 bits a pixel (0xFFRRGGBB, in memory
// blue, green, red, 255). The desktop host keeps a 32-bit copy of the window
// and converts only what was presented. One table per instruction set, the
// fastest the processor runs chosen once; the reference is what the others
// are held to.

#include <cstdint>
#include <span>
#include <string_view>

namespace veskar {

struct PresentKernels {
    std::string_view name;
    // `pixels` 24-bit pixels to 32-bit ones with the top byte 0xFF.
    void (*expand)(const std::uint8_t* bgr, int pixels, std::uint32_t* out);
    // And back: the top byte is dropped.
    void (*pack)(const std::uint32_t* in, int pixels, std::uint8_t* bgr);
};

const PresentKernels& referencePresentKernels();
// Every table this processor can run, the reference first.
std::span<const PresentKernels* const> availablePresentKernels();
// The table in use (the last one available).
const PresentKernels& activePresentKernels();

namespace present_kernels {
#if defined(__x86_64__) || defined(__i386__)
const PresentKernels& ssse3();
const PresentKernels& avx2();
#endif
} // namespace present_kernels

} // namespace veskar
