#include "archive/script_source.h"

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

        auto converted = utf8ToCp932(line);
        if (!converted) {
            const std::size_t at = converted.error().offset;
            const std::string what = at < line.size() ? describeCharacter(line, at) : std::string();
            std::string message =
                what.empty() ? "invalid UTF-8" : "character " + what + " cannot be written in CP932";
            return std::unexpected(ScriptSourceError{lineNumber, columnAt(line, at), std::move(message)});
        }
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
        if (nul == std::string_view::npos)
            result.problems.push_back("line " + std::to_string(lineNumber) + " is not ended by NUL");
        rest.remove_prefix(nul == std::string_view::npos ? rest.size() : nul + 1);

        const std::string text = cp932ToUtf8(line);
        // CP932 never maps to U+FFFD, so one in the output marks a byte it could not map.
        if (text.find(kReplacement) != std::string::npos)
            result.problems.push_back("line " + std::to_string(lineNumber) +
                                      " holds bytes that are not CP932 (written as U+FFFD)");
        if (line.find_first_of("\r\n") != std::string_view::npos)
            result.problems.push_back("line " + std::to_string(lineNumber) + " holds a line-break byte");
        result.text += text;
        result.text.push_back('\n');
    }
    return result;
}

} // namespace veskar
