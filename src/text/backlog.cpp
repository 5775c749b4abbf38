#include "text/backlog.h"

#include <algorithm>
#include <cstring>

namespace veskar {

void Backlog::clear() {
    BacklogLog.fill(0);
    LogLineCount = 0;
    LogWritePos = 0;
}

std::size_t Backlog::append(std::string_view bytes) {
    const int lineEnd = LogLineCount * kLineBytes + kLineText;
    std::size_t stored = 0;
    for (char c : bytes) {
        // Rows are kept within a record by wrapping; a longer one is cut
        // rather than run into the next record.
        if (LogWritePos >= lineEnd) break;
        BacklogLog[static_cast<std::size_t>(LogWritePos++)] = static_cast<std::uint8_t>(c);
        ++stored;
    }
    BacklogLog[static_cast<std::size_t>(LogWritePos)] = 0;
    return stored;
}

void Backlog::unappend(std::size_t count) {
    const int lineStart = LogLineCount * kLineBytes;
    LogWritePos = std::max(lineStart, LogWritePos - static_cast<int>(count));
    BacklogLog[static_cast<std::size_t>(LogWritePos)] = 0;
}

void Backlog::closeLogEntry() {
    BacklogLog[static_cast<std::size_t>(LogWritePos)] = 0;
    if (LogLineCount == kLines) {
        std::memmove(BacklogLog.data(), BacklogLog.data() + kLineBytes, kLines * kLineBytes);
    } else {
        ++LogLineCount;
    }
    LogWritePos = LogLineCount * kLineBytes;
    std::fill_n(BacklogLog.begin() + LogWritePos, kLineBytes, std::uint8_t{0});
}

std::string_view Backlog::lineText(int i) const {
    if (i < 0 || i > LogLineCount) return {};
    const char* start = reinterpret_cast<const char*>(BacklogLog.data()) + i * kLineBytes;
    return {start, strnlen(start, kLineText)};
}

} // namespace veskar
