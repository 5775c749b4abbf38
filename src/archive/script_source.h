#pragma once
// Scripts as authors write them (UTF-8 text files) and as the script archives
// store them (CP932 lines, each ended by NUL, every byte negated).

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veskar {

struct ScriptSourceError {
    std::size_t line = 0;   // from 1
    std::size_t column = 0; // from 1, in characters
    std::string message;
};

// "⦃" (U+2983) and "⦄" (U+2984), which CP932 cannot hold, enclose bytes
// written as pairs of hex digits ("⦃8790⦄"); they stand for the characters
// whose code CP932 would not give back (the duplicate codes of its NEC and
// IBM rows), so that a decoded script encodes to the bytes it came from.
constexpr std::string_view kByteEscapeOpen = "⦃";
constexpr std::string_view kByteEscapeClose = "⦄";

// UTF-8 text with LF or CRLF line ends (a leading byte-order mark is dropped)
// to CP932 lines, each ended by one NUL: the decoded form the engine reads.
std::expected<std::string, ScriptSourceError> encodeScriptLines(std::string_view utf8);

// The same, negated: the bytes of a script archive entry.
std::expected<std::vector<std::uint8_t>, ScriptSourceError> encodeScriptSource(std::string_view utf8);

struct DecodedScript {
    std::string text;                        // UTF-8, one LF after every line
    std::vector<ScriptSourceError> problems; // what did not come back exactly, in order
};

// An archive entry's bytes back to UTF-8 text.
DecodedScript decodeScriptSource(std::span<const std::uint8_t> stored);

} // namespace veskar
