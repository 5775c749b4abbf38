// Assignment statements: "X=expression", several separated by ";".

#include <algorithm>
#include <string>

#include "core/sjis.h"
#include "script/registers.h"
#include "script/script_index.h"
#include "script/variables.h"

namespace veskar {
namespace {

constexpr std::string_view kAssignmentError = "代入エラー";

// Upper-cases a-z and removes blanks, tabs and the full-width blank, walking
// the text character by character so that second bytes are never touched.
std::string normaliseStatement(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (isSingleByteChar(c) || c == '\t') {
            if (c != ' ' && c != '\t')
                out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : text[i]);
            ++i;
            continue;
        }
        const std::size_t len = i + 1 < text.size() ? 2 : 1;
        const bool fullWidthBlank = len == 2 && c == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40;
        if (!fullWidthBlank) out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

int indexDigits(char bank) {
    if (bank == 'T') return 4;
    if (bank == 'G') return 1;
    return 3;
}

} // namespace

// Menus and buttons follow S000 and S028, so a store to them tells whoever listens.
bool Variables::storeTarget(char bank, std::string_view indexText, std::int32_t value) {
    std::size_t pos = 0;
    const auto index = takeIndex(indexText, pos, static_cast<int>(indexText.size()));
    if (!index) return false;
    const int n = *index;
    switch (bank) {
    case 'V':
        V(n) = value;
        return true;
    case 'G':
        G(n) = value;
        return true;
    case 'S':
        S(n) = value;
        if ((n == reg::kSaveLoadRestriction || n == reg::kSavingAllowed) && menuRegistersChanged)
            menuRegistersChanged();
        return true;
    case 'P': {
        const std::int32_t position = V(n);
        if (position < 0 || position >= kIntCount) return false;
        P(position) = value;
        return true;
    }
    case 'F':
    case 'E':
    case 'T': {
        if (value != 0 && value != 1) return false;
        auto update = [&](auto& bits) { value == 1 ? bits.set(n) : bits.clear(n); };
        if (bank == 'F')
            update(F);
        else if (bank == 'E')
            update(E);
        else
            update(T);
        return true;
    }
    default:
        return false;
    }
}

void Variables::runAssignment(std::string_view original) {
    const std::string text = normaliseStatement(untilNul(original));
    std::string_view rest = text;
    while (!rest.empty()) {
        const char bank = rest[0];
        const std::size_t indexLen =
            std::min<std::size_t>(static_cast<std::size_t>(indexDigits(bank)), rest.size() - 1);
        const std::string_view index = rest.substr(1, indexLen);
        // The character after the index is the "=", whatever it is.
        const std::string_view expression = rest.substr(std::min(rest.size(), 1 + indexLen + 1));
        const std::int32_t value = evalExpression(expression);
        if (!storeTarget(bank, index, value)) report(kAssignmentError, original);
        const std::size_t semicolon = expression.find(';');
        if (semicolon == std::string_view::npos) break;
        rest = expression.substr(semicolon + 1);
    }
}

} // namespace veskar
