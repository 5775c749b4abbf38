// Every file under tests/malformed/ goes through what reads it, on its own or
// in a tiny game played headless: each must end cleanly, in bounded time,
// saying what was wrong in one line.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "archive/archive_index.h"
#include "core/files.h"
#include "graphics/bmp_reader.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"
#include "hostile_games.h"
#include "shell/exit_codes.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;
using Bytes = std::span<const std::uint8_t>;

const fs::path kFolder = fs::path(VESKAR_SOURCE_DIR) / "tests" / "malformed";

std::string text(Bytes bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::size_t lineCount(const std::string& s) {
    return static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n'));
}

// A decoder refuses in one line that says why; what it accepts is whole.
void expectCleanPicture(const std::expected<Picture, std::string>& picture) {
    if (!picture) {
        EXPECT_FALSE(picture.error().empty());
        EXPECT_EQ(picture.error().find('\n'), std::string::npos) << picture.error();
        return;
    }
    EXPECT_EQ(picture->bytes().size(), std::size_t(picture->width()) * std::size_t(picture->height()) * 3);
}

// A game ends by itself or by its time limit, quickly, and what the engine
// says stays short: no message repeats, and a damaged file is said once. A
// game definition the engine refuses ends the game at once, with the exit
// code that says so.
void expectCleanRun(const test::HostileGame& game, std::size_t mostLines) {
    const auto run = test::playHostile(game, 10'000);
    EXPECT_TRUE(run.exitCode == kExitGameEnded || run.exitCode == kExitGameDataMissing) << run.exitCode;
    // A wait already begun ends by itself: `direct` waits at most 60 s.
    EXPECT_LE(run.virtualEnd, 60'000u + 100);
    EXPECT_LT(run.wall.count(), 10'000);
    EXPECT_LE(lineCount(run.diagnostics), mostLines) << run.diagnostics;
}

void archiveFile(Bytes bytes) {
    for (const auto layout : {ArchiveLayout::Script, ArchiveLayout::General}) {
        const std::uint64_t region = indexRegionSize(layout, bytes, bytes.size());
        ASSERT_LE(region, bytes.size());
        const Bytes head = bytes.first(static_cast<std::size_t>(region));
        const auto parsed = layout == ArchiveLayout::Script ? parseScriptIndex(head, bytes.size())
                                                            : parseGeneralIndex(head, bytes.size());
        for (std::size_t i = 0; i < parsed.index.count(); ++i)
            EXPECT_LE(std::uint64_t{parsed.index.offsets[i]} + parsed.index.sizes[i], bytes.size());
        for (const auto& problem : parsed.problems)
            EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
    }
    expectCleanRun({.main = "*gra A01 1\n*bg A01 1\n*exitgame\n", .graphicsArchive = text(bytes)}, 2);
}

void packedFile(Bytes bytes) {
    expectCleanPicture(DecodePackedPicture(bytes));
    expectCleanRun({.main = "*gra BAD 1\n*spr BAD\n*exitgame\n", .badPicture = text(bytes)}, 2);
}

const struct Reader {
    const char* folder;
    std::function<void(Bytes)> read;
} kReaders[] = {
    {"archive_index", archiveFile},
    {"packed_picture", packedFile},
    {"jpeg", [](Bytes b) { expectCleanPicture(DecodeJpeg(b)); }},
    {"bmp", [](Bytes b) { expectCleanPicture(ReadBmp(b)); }},
    {"definition", [](Bytes b) { expectCleanRun({.main = "hello\n\\\n*exitgame\n", .config = text(b)}, 4); }},
    {"sprset", [](Bytes b) { expectCleanRun({.main = "*spr #C1\n*exitgame\n", .sprset = text(b)}, 2); }},
    {"script", [](Bytes b) { expectCleanRun({.main = text(b)}, 4); }},
};

TEST(MalformedFiles, EveryFileEndsCleanly) {
    std::size_t files = 0;
    for (const auto& reader : kReaders) {
        const fs::path dir = kFolder / reader.folder;
        ASSERT_TRUE(fs::is_directory(dir)) << dir;
        for (const auto& entry : fs::directory_iterator(dir)) {
            SCOPED_TRACE(entry.path().string());
            const auto bytes = readWholeFile(entry.path());
            ASSERT_TRUE(bytes.has_value());
            const auto start = std::chrono::steady_clock::now();
            reader.read(*bytes);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
            ++files;
        }
    }
    EXPECT_GE(files, 100u);
}

TEST(MalformedFiles, EveryFolderHasAReader) {
    for (const auto& entry : fs::directory_iterator(kFolder)) {
        if (!entry.is_directory()) continue;
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(std::any_of(std::begin(kReaders), std::end(kReaders), [&](const Reader& r) {
            return name == r.folder;
        })) << name;
    }
}

} // namespace
} // namespace veskar
