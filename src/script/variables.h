#pragma once
// The variable banks scripts keep their state in, and the expression language
// that reads and writes them.

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace veskar {

class Engine;

template <int Bits>
class BitBank {
public:
    static constexpr int kBits = Bits;
    static constexpr int kBytes = (Bits + 7) / 8;

    // Out-of-range numbers read 0 and are ignored when set or cleared.
    bool test(int n) const { return n >= 0 && n < Bits && (bytes_[n >> 3] >> (n & 7)) & 1; }
    void set(int n) {
        if (n >= 0 && n < Bits) bytes_[n >> 3] |= static_cast<std::uint8_t>(1u << (n & 7));
    }
    void clear(int n) {
        if (n >= 0 && n < Bits) bytes_[n >> 3] &= static_cast<std::uint8_t>(~(1u << (n & 7)));
    }
    void clearAll() { bytes_.fill(0); }
    std::array<std::uint8_t, kBytes>& bytes() { return bytes_; }
    const std::array<std::uint8_t, kBytes>& bytes() const { return bytes_; }

private:
    std::array<std::uint8_t, kBytes> bytes_{};
};

class Variables {
public:
    static constexpr int kVBase = 0;
    static constexpr int kSBase = 2000;
    static constexpr int kGBase = 3000;
    static constexpr int kIntCount = 3010;

    explicit Variables(Engine& engine) : engine_(engine) {}

    // Bounds-checked access: an index outside the bank reads a scratch value
    // that is thrown away.
    std::int32_t& V(int n) { return at(kVBase, 1000, n); }
    std::int32_t& S(int n) { return at(kSBase, 1000, n); }
    std::int32_t& G(int n) { return at(kGBase, 10, n); }
    // Any position of the integer array (0-3009), as the P reference reaches it.
    std::int32_t& P(int position) { return at(0, kIntCount, position); }

    std::array<std::int32_t, kIntCount> ints{};
    BitBank<1024> F;
    BitBank<1024> E;
    BitBank<10000> T;
    BitBank<2000> gallery;
    BitBank<2000> recollection;
    BitBank<81920> readMarks;

    // Clears every bank (start-up).
    void clearAll();

    // Left to right without precedence; an invalid character makes it 0.
    std::int32_t evalExpression(std::string_view text);
    // Statements "X=expr" separated by ";", normalised first.
    void runAssignment(std::string_view text);
    // Comparisons joined by "&" and "|", evaluated left to right with early exits.
    bool evalCondition(std::string_view text);

    // Script errors the player never sees: "無効数式" (invalid expression) and
    // "代入エラー" (assignment error). The sink receives the message in UTF-8
    // and the script text as it was given, in Shift-JIS. Empty: dropped.
    std::function<void(std::string_view message, std::string_view text)> diagnostics;

private:
    // Value of the reference whose letter is at text[pos]; pos moves past it.
    // Returns false when the letter starts no reference.
    bool readReference(std::string_view text, std::size_t& pos, std::int32_t& value);
    bool storeTarget(char bank, std::string_view index, std::int32_t value);
    void onMenuRegisterChanged();
    void report(std::string_view message, std::string_view text) const {
        if (diagnostics) diagnostics(message, text);
    }

    std::int32_t& at(int base, int count, int n) {
        if (n < 0 || n >= count) {
            scratch_ = 0;
            return scratch_;
        }
        return ints[static_cast<std::size_t>(base + n)];
    }

    Engine& engine_;
    std::int32_t scratch_ = 0;
};

} // namespace veskar
