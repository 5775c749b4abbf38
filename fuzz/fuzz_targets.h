#pragma once
// The parsers of file and script bytes that the fuzzers drive. Each target
// takes any bytes, must return without crashing or hanging, and aborts when a
// parser breaks a promise its callers rely on. The same functions replay the
// seed corpora in the normal test run.

#include <cstdint>
#include <span>
#include <string_view>

namespace veskar::fuzz {

using Bytes = std::span<const std::uint8_t>;

// Both index layouts of an archive file, then lookups of names in them.
void archiveIndex(Bytes data);
// The engine's packed picture format.
void packedPicture(Bytes data);
// JPEG pictures (the JPEG archive's entries, animation frames).
void jpegPicture(Bytes data);
// 24-bit BMP files.
void bmpPicture(Bytes data);
// The expression language: the bytes as an expression, a condition and an assignment.
void expression(Bytes data);
// The game definition `_config` (lines split at LF or NUL).
void gameDefinition(Bytes data);
// Composite sprite definitions `_sprset`, drawn in a tiny game.
void spriteSets(Bytes data);
// Lines taken in turn as assignments and conditions, on banks kept between inputs.
void assignmentsAndConditions(Bytes data);
// A whole main script (lines split at LF or NUL) played headless for a few virtual seconds;
// what follows a 0x1E byte is the game's definition.
void scriptRun(Bytes data);

struct Target {
    std::string_view name; // also the folder of its corpus under fuzz/corpus/
    void (*run)(Bytes data);
};

std::span<const Target> targets();

} // namespace veskar::fuzz
