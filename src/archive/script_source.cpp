#include "archive/script_source.h"

#include <algorithm>
#include <cstdio>

#include "archive/script_loader.h"
#include "core/sjis.h"

namespace veskar {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

std::size_t columnAt(std::string_view line, std::size_t offset) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < line.size(); ++i)
        if (!isContinuation(static_cast<unsigned char>(line[i]))) ++column;
    return column;
}

// "'X' (U+XXXX)" for the character starting at `offset`, when it is whole UTF-8.
std::string describeCharacter(std::string_view line, std::size_t offset) {
    const auto lead = static_cast<unsigned char>(line[offset]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || offset + length > line.size()) return {};
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(line[offset + i]);
        if (!isContinuation(c)) return {};
        code = (code << 6) | (c & 0x3F);
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
    return "'" + std::string(line.substr(offset, length)) + "' (" + hex + ")";
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

int hexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

// The bytes of one source line in CP932, with byte escapes written out as they stand.
std::expected<std::string, ScriptSourceError> encodeLine(std::string_view line, std::size_t lineNumber) {
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = line.find(kByteEscapeOpen, pos);
        const std::string_view plain =
            line.substr(pos, open == std::string_view::npos ? std::string_view::npos : open - pos);
        auto converted = utf8ToCp932(plain);
        if (!converted) {
            const std::size_t at = pos + converted.error().offset;
            const std::string what = at < line.size() ? describeCharacter(line, at) : std::string();
            std::string message =
                what.empty() ? "invalid UTF-8" : "character " + what + " cannot be written in CP932";
            return std::unexpected(ScriptSourceError{lineNumber, columnAt(line, at), std::move(message)});
        }
        out += *converted;
        if (open == std::string_view::npos) return out;

        const std::size_t digits = open + kByteEscapeOpen.size();
        const std::size_t close = line.find(kByteEscapeClose, digits);
        const std::string_view hex =
            line.substr(digits, close == std::string_view::npos ? 0 : close - digits);
        const bool wellFormed = close != std::string_view::npos && !hex.empty() && hex.size() % 2 == 0 &&
                                std::all_of(hex.begin(), hex.end(), isHexDigit);
        if (!wellFormed)
            return std::unexpected(
                ScriptSourceError{lineNumber, columnAt(line, open),
                                  "a byte escape holds pairs of hex digits between '⦃' and '⦄'"});
        for (std::size_t i = 0; i < hex.size(); i += 2) {
            const auto byte = static_cast<char>(hexValue(hex[i]) << 4 | hexValue(hex[i + 1]));
            // A NUL would end the line.
            if (byte == '\0')
                return std::unexpected(
                    ScriptSourceError{lineNumber, columnAt(line, open), "a byte escape cannot hold 00"});
            out.push_back(byte);
        }
        pos = close + kByteEscapeClose.size();
    }
}

// Bytes of the CP932 character at `pos`, split as cp932ToUtf8 splits them.
std::size_t characterLength(std::string_view line, std::size_t pos) {
    const auto c = static_cast<unsigned char>(line[pos]);
    const std::size_t length = (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) ? 1 : 2;
    return pos + length > line.size() ? 1 : length;
}

std::string hexOf(std::string_view bytes, std::string_view separator) {
    std::string out;
    for (const char c : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
        if (!out.empty()) out += separator;
        out += digits;
    }
    return out;
}

} // namespace

std::expected<std::string, ScriptSourceError> encodeScriptLines(std::string_view utf8) {
    if (utf8.starts_with(kByteOrderMark)) utf8.remove_prefix(kByteOrderMark.size());
    std::string out;
    std::size_t lineNumber = 0;
    while (!utf8.empty()) {
        ++lineNumber;
        const std::size_t lf = utf8.find('\n');
        std::string_view line = utf8.substr(0, lf);
        utf8.remove_prefix(lf == std::string_view::npos ? utf8.size() : lf + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);

        // Both would end a line early or be read as the start of a two-byte character.
        if (const auto at = line.find('\r'); at != std::string_view::npos)
            return std::unexpected(
                ScriptSourceError{lineNumber, columnAt(line, at), "carriage return without a line feed"});
        if (const auto at = line.find('\0'); at != std::string_view::npos)
            return std::unexpected(ScriptSourceError{lineNumber, columnAt(line, at), "NUL character"});

        auto converted = encodeLine(line, lineNumber);
        if (!converted) return std::unexpected(converted.error());
        out += *converted;
        out.push_back('\0');
    }
    return out;
}

std::expected<std::vector<std::uint8_t>, ScriptSourceError> encodeScriptSource(std::string_view utf8) {
    auto lines = encodeScriptLines(utf8);
    if (!lines) return std::unexpected(lines.error());
    std::vector<std::uint8_t> bytes(lines->begin(), lines->end());
    negateBytes(bytes);
    return bytes;
}

DecodedScript decodeScriptSource(std::span<const std::uint8_t> stored) {
    std::string plain(stored.begin(), stored.end());
    negateBytes({reinterpret_cast<std::uint8_t*>(plain.data()), plain.size()});

    DecodedScript result;
    std::size_t lineNumber = 0;
    std::string_view rest = plain;
    while (!rest.empty()) {
        ++lineNumber;
        const std::size_t nul = rest.find('\0');
        const std::string_view line = rest.substr(0, nul);
        rest.remove_prefix(nul == std::string_view::npos ? rest.size() : nul + 1);
        const auto problem = [&](std::size_t column, std::string message) {
            result.problems.push_back({lineNumber, column, std::move(message)});
        };

        std::string text = cp932ToUtf8(line);
        std::size_t columns = 0;
        const auto back = utf8ToCp932(text);
        if (back && *back == line) {
            for (std::size_t pos = 0; pos < line.size(); pos += characterLength(line, pos))
                ++columns;
        } else {
            // Character by character: which ones do not come back as they were?
            text.clear();
            for (std::size_t pos = 0; pos < line.size(); ++columns) {
                const std::string_view bytes = line.substr(pos, characterLength(line, pos));
                pos += bytes.size();
                const std::string character = cp932ToUtf8(bytes);
                // CP932 never maps to U+FFFD, so one marks bytes it could not map.
                if (character == kReplacement) {
                    problem(columns + 1, "bytes " + hexOf(bytes, " ") + " are not CP932 (written as U+FFFD)");
                    text += character;
                    continue;
                }
                const auto again = utf8ToCp932(character);
                if (again && *again == bytes) {
                    text += character;
                    continue;
                }
                const std::string escape =
                    std::string(kByteEscapeOpen) + hexOf(bytes, "") + std::string(kByteEscapeClose);
                problem(columns + 1,
                        "'" + character + "' (" + hexOf(bytes, " ") + ") would be written back as " +
                            (again ? hexOf(*again, " ") : std::string("nothing")) + "; kept as " + escape);
                text += escape;
            }
        }
        if (const auto at = line.find_first_of("\r\n"); at != std::string_view::npos) {
            std::size_t column = 1;
            for (std::size_t pos = 0; pos < at; pos += characterLength(line, pos))
                ++column;
            problem(column, "a line-break byte splits the line");
        }
        if (nul == std::string_view::npos) problem(columns + 1, "the last line is not ended by NUL");
        result.text += text;
        result.text.push_back('\n');
    }
    return result;
}

} // namespace veskar
