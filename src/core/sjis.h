#pragma once
// Shift-JIS text as the engine keeps it, and conversion at the platform
// boundary (CP932, the Windows code page, not plain Shift_JIS).

#include <expected>
#include <string>
#include <string_view>

namespace veskar {

// The one rule for walking game text: a byte 0x20-0x7E is a one-byte
// character; any other byte begins a two-byte character.
constexpr bool isSingleByteChar(unsigned char c) { return c >= 0x20 && c <= 0x7E; }

// Bytes of the character at the start of `text` under that rule, never more
// than the text holds (a lead byte at the end stands alone); 0 for no text.
constexpr std::size_t charLength(std::string_view text) {
    if (text.empty()) return 0;
    return isSingleByteChar(static_cast<unsigned char>(text[0])) || text.size() == 1 ? 1 : 2;
}

// CP932's own lead-byte test (0x81-0x9F, 0xE0-0xFC), for what the code page
// decides: glyph codes and letter case.
constexpr bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Upper-cases the ASCII letters a-z only; every other byte is kept, including
// the second bytes of two-byte characters.
std::string upperAscii(std::string_view text);
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);
bool startsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix);

struct ConversionError {
    std::size_t offset; // byte offset of the first character that failed
    std::string message;
};

// CP932 bytes to UTF-8. Bytes that CP932 does not map become U+FFFD so that
// whatever a file holds can still be shown.
std::string cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932; fails on characters CP932 cannot hold or bad UTF-8.
std::expected<std::string, ConversionError> utf8ToCp932(std::string_view utf8);

} // namespace veskar

namespace veskar {
// The engine's own texts are written in UTF-8 in the source; this gives their
// Shift-JIS bytes (every such text is CP932-clean).
std::string sjisText(std::string_view utf8);
} // namespace veskar

namespace veskar {
// At most `maxBytes` bytes of `text`, never ending in the middle of a
// two-byte character.
std::string cutText(std::string_view text, std::size_t maxBytes);
} // namespace veskar
