// The expression language: operands and operators strictly left to right.

#include <cstdint>
#include <limits>

#include "core/random.h"
#include "script/script_index.h"
#include "script/variables.h"

namespace veskar {
namespace {

constexpr std::string_view kInvalidExpression = "無効数式";

enum class Op { Add, Sub, Mul, Div, Mod, And, Or, Xor };

// 32-bit arithmetic that wraps like the machine's, without undefined behaviour.
std::int32_t apply(Op op, std::int32_t a, std::int32_t x) {
    const auto ua = static_cast<std::uint32_t>(a);
    const auto ux = static_cast<std::uint32_t>(x);
    switch (op) {
    case Op::Add:
        return static_cast<std::int32_t>(ua + ux);
    case Op::Sub:
        return static_cast<std::int32_t>(ua - ux);
    case Op::Mul:
        return static_cast<std::int32_t>(ua * ux);
    case Op::Div:
        // In 64 bits INT_MIN / -1 is representable; its low 32 bits are INT_MIN.
        if (x == 0) return 0;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::int64_t{a} / x));
    case Op::Mod:
        if (x == 0) return 0;
        return static_cast<std::int32_t>(std::int64_t{a} % x);
    case Op::And:
        return a & x;
    case Op::Or:
        return a | x;
    case Op::Xor:
        return a ^ x;
    }
    return 0;
}

bool isStopChar(char c) {
    switch (c) {
    case '=':
    case '<':
    case '>':
    case ';':
    case '!':
    case '&':
    case '|':
    case ']':
    case ',':
        return true;
    default:
        return false;
    }
}

} // namespace

bool Variables::readReference(std::string_view text, std::size_t& pos, std::int32_t& value) {
    const char letter = text[pos];
    int digits = 0;
    switch (letter) {
    case 'V':
    case 'S':
    case 'P':
    case 'F':
    case 'E':
        digits = 3;
        break;
    case 'G':
        digits = 1;
        break;
    case 'T':
        digits = 4;
        break;
    case 'R': {
        // The bound is the digits that follow, at most seven of them.
        ++pos;
        int bound = 0;
        for (int i = 0; i < 7 && pos < text.size() && isDigitChar(text[pos]); ++i, ++pos)
            bound = bound * 10 + (text[pos] - '0');
        value = bound >= 1 ? random_.below(bound) : 0;
        return true;
    }
    default:
        return false;
    }
    ++pos;
    const auto index = takeIndex(text, pos, digits);
    value = 0;
    if (!index) return true;
    const int n = *index;
    switch (letter) {
    case 'V':
        value = V(n);
        break;
    case 'S':
        value = S(n);
        break;
    case 'G':
        value = G(n);
        break;
    case 'P':
        value = P(V(n));
        break; // P() reads 0 outside the array
    case 'F':
        value = F.test(n) ? 1 : 0;
        break;
    case 'E':
        value = E.test(n) ? 1 : 0;
        break;
    case 'T':
        value = T.test(n) ? 1 : 0;
        break;
    default:
        break;
    }
    return true;
}

std::int32_t Variables::evalExpression(std::string_view original) {
    const std::string_view text = untilNul(original);
    std::int32_t acc = 0;
    std::int32_t x = 0;
    Op op = Op::Add;
    const auto next = [&](Op newOp) {
        acc = apply(op, acc, x);
        x = 0;
        op = newOp;
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (isStopChar(c)) break;
        if (isDigitChar(c)) {
            x = static_cast<std::int32_t>(static_cast<std::uint32_t>(x) * 10u +
                                          static_cast<std::uint32_t>(c - '0'));
            ++pos;
            continue;
        }
        switch (c) {
        case '+':
            next(Op::Add);
            ++pos;
            continue;
        case '-':
            next(Op::Sub);
            ++pos;
            continue;
        case '*':
            next(Op::Mul);
            ++pos;
            continue;
        case '/':
            next(Op::Div);
            ++pos;
            continue;
        case '%':
            next(Op::Mod);
            ++pos;
            continue;
        case '_': {
            const char d = pos + 1 < text.size() ? text[pos + 1] : '\0';
            if (d == '&' || d == '|' || d == 'X') {
                next(d == '&' ? Op::And : d == '|' ? Op::Or : Op::Xor);
                pos += 2;
                continue;
            }
            break;
        }
        default:
            if (readReference(text, pos, x)) continue;
            break;
        }
        report(kInvalidExpression, original);
        return 0;
    }
    return apply(op, acc, x);
}

} // namespace veskar
