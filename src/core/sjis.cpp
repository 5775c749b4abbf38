#include "core/sjis.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace veskar {

// The second byte of a two-byte character may fall in a-z; it must not be
// changed, or two different characters would compare equal.
static bool isCp932LeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

static char upperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (isCp932LeadByte(out[i]))
            ++i;
        else
            out[i] = upperChar(out[i]);
    }
    return out;
}

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isCp932LeadByte(a[i])) {
            // Both must hold the same two-byte character here, byte for byte.
            if (a[i] != b[i]) return false;
            ++i;
            if (i < a.size() && a[i] != b[i]) return false;
            continue;
        }
        if (upperChar(a[i]) != upperChar(b[i])) return false;
    }
    return true;
}

bool startsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

} // namespace

std::string cp932ToUtf8(std::string_view cp932) {
    Iconv cd("UTF-8", "CP932");
    std::string out;
    if (!cd.ok()) {
        for (unsigned char c : cp932)
            out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return out;
    }
    std::size_t i = 0;
    while (i < cp932.size()) {
        // Convert one character at a time so that a bad byte costs only itself.
        const unsigned char c = static_cast<unsigned char>(cp932[i]);
        std::size_t len = (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) ? 1 : 2;
        if (i + len > cp932.size()) len = 1;
        char in[2] = {cp932[i], len == 2 ? cp932[i + 1] : '\0'};
        char buf[8];
        char* inPtr = in;
        std::size_t inLeft = len;
        char* outPtr = buf;
        std::size_t outLeft = sizeof buf;
        if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            out += "\xEF\xBF\xBD";
            iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        } else {
            out.append(buf, static_cast<std::size_t>(outPtr - buf));
        }
        i += len;
    }
    return out;
}

std::expected<std::string, ConversionError> utf8ToCp932(std::string_view utf8) {
    Iconv cd("CP932", "UTF-8");
    if (!cd.ok()) return std::unexpected(ConversionError{0, "this system's iconv has no CP932 converter"});
    std::string out;
    std::string input(utf8);
    char* inPtr = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char buf[256];
        char* outPtr = buf;
        std::size_t outLeft = sizeof buf;
        const std::size_t r = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buf, static_cast<std::size_t>(outPtr - buf));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            const std::size_t offset = static_cast<std::size_t>(inPtr - input.data());
            return std::unexpected(ConversionError{offset, errno == EILSEQ
                                                               ? "character cannot be written in CP932"
                                                               : "incomplete UTF-8 sequence"});
        }
    }
    return out;
}

} // namespace veskar

namespace veskar {
std::string sjisText(std::string_view utf8) {
    auto converted = utf8ToCp932(utf8);
    return converted ? *converted : std::string(utf8);
}
} // namespace veskar

namespace veskar {
std::string cutText(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t len = isSingleByteChar(static_cast<unsigned char>(text[end])) ? 1 : 2;
        if (end + len > maxBytes) break;
        end += len;
    }
    return std::string(text.substr(0, std::min(end, text.size())));
}
} // namespace veskar
