#pragma once
// Number reading as scripts and settings write numbers.

#include <cstdint>
#include <optional>
#include <string_view>

namespace veskar {

// Script numbers: leading blanks skipped, an optional sign, digits up to the
// first non-digit; no digits reads as 0. Overflow wraps as 32-bit arithmetic.
// When `consumed` is given it receives the number of bytes read (0 when
// there were no digits).
std::int32_t readScriptNumber(std::string_view text, std::size_t* consumed = nullptr);

// The whole text must be a decimal integer (an optional sign and at least one
// digit, nothing else, within 32 bits): the rule of settings and of the game
// definition's integer keys.
std::optional<std::int32_t> parseWholeInteger(std::string_view text);

} // namespace veskar
