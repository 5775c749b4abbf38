// Conditions: comparisons joined by "&" and "|", left to right with early exits.

#include <algorithm>
#include <string>

#include "script/script_index.h"
#include "script/variables.h"

namespace veskar {
namespace {

constexpr std::size_t kConditionLength = 100;

// Reads the condition up to ")" or the end of the line, upper-cased, blanks dropped.
std::string conditionText(std::string_view text) {
    std::size_t i = !text.empty() && text[0] == '(' ? 1 : 0;
    std::string out;
    for (std::size_t used = 0; i < text.size() && used < kConditionLength; ++i, ++used) {
        const char c = text[i];
        if (c == ')' || c == '\0' || c == '\r' || c == '\n') break;
        if (c == ' ') continue;
        out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    return out;
}

bool isPartChar(char c) {
    switch (c) {
    case '<':
    case '=':
    case '>':
    case '|':
    case '!':
    case '&':
    case ',':
        return true;
    default:
        return false;
    }
}

// Position of the first operator or separator after at least one character
// from `from` on; the text's size when there is none.
std::size_t findPartChar(std::string_view text, std::size_t from) {
    for (std::size_t i = from + 1; i < text.size(); ++i)
        if (isPartChar(text[i])) return i;
    return text.size();
}

} // namespace

bool Variables::evalCondition(std::string_view original) {
    const std::string condition = conditionText(original);
    const std::string_view text = condition;
    std::size_t pos = 0;
    for (;;) {
        const std::int32_t left = evalExpression(text.substr(pos));
        std::size_t sep = findPartChar(text, pos);
        bool flag = false;
        const char op = sep < text.size() ? text[sep] : '\0';
        if (op == '<' || op == '=' || op == '>' || op == '!') {
            const bool orEqual = sep + 1 < text.size() && text[sep + 1] == '=';
            const std::size_t rightStart = sep + (orEqual ? 2 : 1);
            const std::int32_t right = evalExpression(text.substr(std::min(rightStart, text.size())));
            switch (op) {
            case '=':
                flag = left == right;
                break;
            case '!':
                flag = left != right;
                break;
            case '<':
                flag = orEqual ? left <= right : left < right;
                break;
            case '>':
                flag = orEqual ? left >= right : left > right;
                break;
            }
            sep = findPartChar(text, rightStart);
        }
        // A part without a comparison counts as false; its separator is what ended it.
        if (sep >= text.size()) return flag;
        if (text[sep] == '&' && !flag) return false;
        if (text[sep] == '|' && flag) return true;
        pos = sep + 1;
    }
}

} // namespace veskar
