#pragma once
// The text log behind the backlog view: the last 200 completed lines of story
// text, each a NUL-terminated Shift-JIS record of 70 bytes, plus the line being
// written. A line starting with "@" names a voice.

#include <array>
#include <cstdint>
#include <string_view>

namespace veskar {

class Backlog {
public:
    static constexpr int kLines = 200;
    static constexpr int kLineBytes = 70;
    // Text bytes a line holds before its NUL.
    static constexpr int kLineText = kLineBytes - 1;

    Backlog() { clear(); }

    void clear();
    // Appends bytes to the line being written; bytes past the line's 69 are
    // dropped. Returns how many were stored.
    std::size_t append(std::string_view bytes);
    // Takes back the last `count` stored bytes of the line being written.
    void unappend(std::size_t count);
    // Ends the line being written; with 200 completed lines the oldest goes.
    void closeLogEntry();

    // Line i (0 = oldest); line LogLineCount is the one being written.
    std::string_view lineText(int i) const;
    std::string_view currentText() const { return lineText(LogLineCount); }

    std::array<std::uint8_t, (kLines + 1) * kLineBytes> BacklogLog{};
    int LogLineCount = 0;
    int LogWritePos = 0;
};

} // namespace veskar
