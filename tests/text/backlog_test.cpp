// The text log records: 70-byte lines, 200 kept, the oldest dropped.

#include <gtest/gtest.h>

#include <string>

#include "text/backlog.h"

namespace veskar {
namespace {

TEST(Backlog, KeepsTheLast200LinesAndDropsTheOldest) {
    Backlog log;
    for (int i = 1; i <= 250; ++i) {
        log.append("line " + std::to_string(i));
        log.closeLogEntry();
    }
    EXPECT_EQ(log.LogLineCount, 200);
    EXPECT_EQ(log.lineText(0), "line 51");
    EXPECT_EQ(log.lineText(199), "line 250");
    EXPECT_EQ(log.currentText(), "");
    EXPECT_EQ(log.LogWritePos, 200 * 70);
}

TEST(Backlog, ALineHoldsAtMost69BytesAndTakesBytesBack) {
    Backlog log;
    EXPECT_EQ(log.append(std::string(60, 'a')), 60u);
    EXPECT_EQ(log.append(std::string(20, 'b')), 9u) << "the rest would run into the next record";
    EXPECT_EQ(log.currentText().size(), 69u);
    log.unappend(9);
    EXPECT_EQ(log.currentText(), std::string(60, 'a'));
    log.unappend(100); // never past the line's start
    EXPECT_EQ(log.currentText(), "");
    log.append("x");
    log.closeLogEntry();
    EXPECT_EQ(log.lineText(0), "x");
    EXPECT_EQ(log.lineText(5), "") << "lines not yet written read empty";
}

} // namespace
} // namespace veskar
