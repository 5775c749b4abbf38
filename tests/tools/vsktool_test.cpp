// vsktool run as a program: round trips through its commands, its errors and
// its exit codes.

#include <gtest/gtest.h>

#include <fstream>

#include "archive/archives.h"
#include "archive/script_source.h"
#include "core/files.h"
#include "support/test_support.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;
using test::runVsktool;
using test::TempDir;

void writeFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const fs::path& path) {
    auto bytes = readWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

TEST(Vsktool, PackListExtractRoundTrip) {
    TempDir dir;
    const fs::path d = dir.path();
    writeFile(d / "in/bg01.bmp", "picture one");
    writeFile(d / "in/Sys_Qbtn.png", "");
    writeFile(d / "other/bg01.jpg", "picture two");
    writeFile(d / "in/背景.bin", "kanji");

    const auto pack =
        runVsktool({"pack", "--layout", "general", "--name-length", "12", (d / "x.vsk").string(),
                    (d / "in/bg01.bmp").string(), (d / "in/Sys_Qbtn.png").string(),
                    (d / "other/bg01.jpg").string(), (d / "in/背景.bin").string()});
    ASSERT_EQ(pack.exitCode, 0) << pack.err;

    const auto list = runVsktool({"list", (d / "x.vsk").string()});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    // 8 + 4 * 20 bytes of index, then the data in order.
    EXPECT_EQ(list.out, "bg01\t88\t11\nSys_Qbtn\t99\t0\nbg01\t99\t11\n背景\t110\t5\n");

    const auto extract = runVsktool({"extract", (d / "x.vsk").string(), "-o", (d / "out").string()});
    EXPECT_EQ(extract.exitCode, 0) << extract.err;
    EXPECT_NE(extract.err.find("entry 2 'bg01' repeats an earlier name"), std::string::npos) << extract.err;
    EXPECT_EQ(readFile(d / "out/bg01"), "picture one") << "the first of two entries, as the engine reads it";
    EXPECT_EQ(readFile(d / "out/Sys_Qbtn"), "");
    EXPECT_EQ(readFile(d / "out/背景"), "kanji");

    const auto some =
        runVsktool({"extract", (d / "x.vsk").string(), "SYS_QBTN", "nothing", "-o", (d / "some").string()});
    EXPECT_EQ(some.exitCode, 1);
    EXPECT_NE(some.err.find("has no entry named 'nothing'"), std::string::npos) << some.err;
    EXPECT_TRUE(fs::exists(d / "some/Sys_Qbtn"));
    EXPECT_FALSE(fs::exists(d / "some/bg01"));
}

TEST(Vsktool, ScriptLayoutArchivesAreReadAsTheEngineReadsThem) {
    TempDir dir;
    const fs::path d = dir.path();
    writeFile(d / "main.txt", "テスト\n\\\n");
    ASSERT_EQ(runVsktool({"script", "encode", (d / "main.txt").string(), (d / "main.bin").string()}).exitCode,
              0);
    fs::rename(d / "main.bin", d / "main");
    const auto pack =
        runVsktool({"pack", "--layout", "script", (d / "vk_data.vsk").string(), (d / "main").string()});
    ASSERT_EQ(pack.exitCode, 0) << pack.err;

    Archives archives(d);
    archives.LoadScriptIndexes();
    const auto found = archives.FindEntry(search::kScripts, "MAIN");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->offset, 4u + 24u);
    const auto decoded = decodeScriptSource(*archives.readEntry(*found));
    EXPECT_EQ(decoded.text, "テスト\n\\\n");

    // list guesses the script layout from the file name.
    EXPECT_EQ(runVsktool({"list", (d / "vk_data.vsk").string()}).out, "main\t28\t9\n");
}

TEST(Vsktool, ScriptEncodeDecodeRoundTrip) {
    TempDir dir;
    const fs::path d = dir.path();
    writeFile(d / "crlf.txt", "; comment\r\nTITLE:テストゲーム\r\n\r\nEND\r\n");
    ASSERT_EQ(runVsktool({"script", "encode", (d / "crlf.txt").string(), (d / "enc").string()}).exitCode, 0);
    const std::string encoded = readFile(d / "enc");
    EXPECT_EQ(encoded.substr(0, 2), "\xC5\xE0") << "';' and ' ' negated";
    const auto decode = runVsktool({"script", "decode", (d / "enc").string(), (d / "back.txt").string()});
    EXPECT_EQ(decode.exitCode, 0) << decode.err;
    EXPECT_EQ(decode.err, "");
    EXPECT_EQ(readFile(d / "back.txt"), "; comment\nTITLE:テストゲーム\n\nEND\n");
}

TEST(Vsktool, ScriptDecodeKeepsDuplicateCodesAndSaysWhere) {
    TempDir dir;
    const fs::path d = dir.path();
    // Line 2 holds NEC row 13's "≒" (87 90); CP932 would write the character back as 81 E0.
    std::string plain("ok\0x\x87\x90\0", 7);
    for (char& c : plain)
        c = static_cast<char>(0u - static_cast<unsigned char>(c));
    writeFile(d / "enc", plain);
    const auto decode = runVsktool({"script", "decode", (d / "enc").string(), (d / "back.txt").string()});
    EXPECT_EQ(decode.exitCode, 0) << decode.err;
    EXPECT_NE(decode.err.find("warning: " + (d / "enc").string() +
                              ":2:2: '≒' (87 90) would be written back as 81 E0"),
              std::string::npos)
        << decode.err;
    EXPECT_EQ(readFile(d / "back.txt"), "ok\nx⦃8790⦄\n");
    ASSERT_EQ(runVsktool({"script", "encode", (d / "back.txt").string(), (d / "again").string()}).exitCode,
              0);
    EXPECT_EQ(readFile(d / "again"), plain) << "the author's bytes come back";
}

TEST(Vsktool, CharactersOutsideCp932AreErrorsWithLineAndColumn) {
    TempDir dir;
    const fs::path in = dir.path() / "bad.txt";
    writeFile(in, "fine\nあい한\n");
    const auto result = runVsktool({"script", "encode", in.string(), (dir.path() / "out").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "vsktool: " + in.string() + ":2:3: character '한' (U+D55C) cannot be written in CP932\n");
    EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

TEST(Vsktool, FailuresAndUsageErrorsHaveTheirExitCodes) {
    TempDir dir;
    const fs::path d = dir.path();
    writeFile(d / "abcdefghijklmnop.txt", "x");
    writeFile(d / "a.txt", "x");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* err;
    };
    const Case cases[] = {
        {{"pack", "--layout", "script", (d / "o.vsk").string(), (d / "abcdefghijklmnop.txt").string()},
         1,
         "the entry name 'abcdefghijklmnop' is 16 bytes long; the script layout holds at most 15"},
        {{"pack", "--layout", "general", "--name-length", "4", (d / "o.vsk").string(),
          (d / "abcdefghijklmnop.txt").string()},
         1,
         "general layout with name field 4 holds at most 3"},
        {{"pack", "--layout", "general", (d / "o.vsk").string(), (d / "missing.bin").string()},
         1,
         "cannot open"},
        {{"list", (d / "none.vsk").string()}, 1, "cannot open"},
        {{"pack", (d / "o.vsk").string(), (d / "a.txt").string()}, 2, "--layout script|general is required"},
        {{"pack", "--layout", "zip", (d / "o.vsk").string()}, 2, "--layout must be 'script' or 'general'"},
        {{"pack", "--layout", "script", "--name-length", "8", (d / "o.vsk").string()},
         2,
         "general layout only"},
        {{"pack", "--layout", "general", "--name-length", "0", (d / "o.vsk").string()}, 2, "from 1 to 1024"},
        {{"list"}, 2, "give exactly one ARCHIVE"},
        {{"script", "encode", (d / "a.txt").string()}, 2, "encode takes an input and an output file"},
        {{"script", "frob", "a", "b"}, 2, "unknown action 'frob'"},
        {{"build", d.string()}, 2, "give SOURCE_DIR and OUT_DIR"},
        {{"build", (d / "nowhere").string(), (d / "game").string()}, 1, "is not a folder"},
        {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
        {{}, 2, "Usage: vsktool COMMAND"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& a : c.args)
            shown += a + " ";
        const auto result = runVsktool(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << shown << "\n" << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << shown << "\n" << result.err;
    }
}

TEST(Vsktool, ListReportsADamagedIndexAndStillListsWhatCanBeTrusted) {
    TempDir dir;
    const fs::path archive = dir.path() / "vk_gra.vsk";
    ASSERT_EQ(runVsktool({"pack", "--layout", "general", "--name-length", "4", archive.string(),
                          (fs::path(VESKAR_SOURCE_DIR) / "CMakeLists.txt").string()})
                  .exitCode,
              1)
        << "'CMakeLists' does not fit in 3 bytes";
    writeFile(dir.path() / "a.x", "12345");
    writeFile(dir.path() / "b.x", "67");
    ASSERT_EQ(runVsktool({"pack", "--layout", "general", "--name-length", "4", archive.string(),
                          (dir.path() / "a.x").string(), (dir.path() / "b.x").string()})
                  .exitCode,
              0);
    fs::resize_file(archive, fs::file_size(archive) - 1); // b loses its last byte

    const auto list = runVsktool({"list", archive.string()});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.out, "a\t32\t5\n");
    EXPECT_EQ(list.err,
              "vsktool: " + archive.string() +
                  ": damaged index: entry 1 'b' (offset 37, size 2) reaches past the end of the file (38 "
                  "bytes)\n");
}

TEST(Vsktool, ExtractWritesNoFileOutsideItsFolder) {
    TempDir dir;
    const std::vector<ArchiveEntry> entries = {{"../escape", {'x'}}, {"ok", {'y'}}};
    ASSERT_TRUE(writeArchive(dir.path() / "evil.vsk", ArchiveLayout::General, entries));
    const auto result =
        runVsktool({"extract", (dir.path() / "evil.vsk").string(), "-o", (dir.path() / "out").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("entry '../escape' has a name that is not a plain file name"),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(fs::exists(dir.path() / "escape"));
    EXPECT_EQ(readFile(dir.path() / "out/ok"), "y");
}

TEST(Vsktool, BuildMakesAGameFolderTheEngineReads) {
    TempDir dir;
    const fs::path src = dir.path() / "src";
    writeFile(src / "vk_data/main.txt", "最初の行\n\\\n");
    writeFile(src / "vk_data/_config.txt", "TITLE:デモ\nVKD_GRA:1\nEND\n");
    writeFile(src / "vk_data2/main.txt", "override\n");
    writeFile(src / "vk_gra/bg01.pak", "BMdata"); // not a .png or .bmp: stored as it is
    writeFile(src / "VK_SE0/sse01.raw", "wave");  // not a .wav: stored as it is
    writeFile(src / "vk_gra/.hidden", "skipped");
    writeFile(src / "panic.bmp", "panic");
    writeFile(src / "movies/op.mpg", "movie");
    const fs::path out = dir.path() / "game";

    const auto build = runVsktool({"build", src.string(), out.string()});
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_NE(build.err.find("writing " + (out / "vk_data.vsk").string() + " (2 entries"), std::string::npos)
        << build.err;
    EXPECT_EQ(readFile(out / "panic.bmp"), "panic");
    EXPECT_EQ(readFile(out / "movies/op.mpg"), "movie");

    Archives archives(out);
    archives.LoadScriptIndexes();
    archives.OpenArchives({}, "NULL");
    EXPECT_TRUE(archives.scriptArchiveExists());
    EXPECT_TRUE(archives.firstPictureArchiveExists());
    EXPECT_EQ(archives.index(ArchiveSet::Pictures, 1).count(), 1u) << "hidden files are skipped";
    const auto read = [&](std::span<const SlotRef> order, std::string_view name) {
        const auto found = archives.FindEntry(order, name);
        if (!found) return std::string("<not found>");
        const auto bytes = *archives.readEntry(*found);
        return std::string(bytes.begin(), bytes.end());
    };
    EXPECT_EQ(read(search::kPictures, "BG01"), "BMdata");
    EXPECT_EQ(read(search::kEffects, "sse01"), "wave");
    EXPECT_EQ(decodeScriptSource([&] {
                  const auto s = read(search::kScripts, "main");
                  return std::vector<std::uint8_t>(s.begin(), s.end());
              }())
                  .text,
              "override\n");
    const auto plain = read(std::array{SlotRef{ArchiveSet::Scripts, 1}}, "main");
    EXPECT_EQ(decodeScriptSource(std::vector<std::uint8_t>(plain.begin(), plain.end())).text,
              "最初の行\n\\\n");
}

TEST(Vsktool, BuildRefusesSourcesItCannotPackFaithfully) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> files;
        const char* err;
    };
    const Case cases[] = {
        {"two files of one entry name",
         {{"vk_gra/bg.png", "a"}, {"vk_gra/BG.bmp", "b"}},
         "BG.bmp give the same entry name 'bg'"},
        {"a script that is not text", {{"vk_data/main.bin", "a"}}, "script folders hold .txt files only"},
        {"a script CP932 cannot hold",
         {{"vk_data/main.txt", "ok\n\xED\x95\x9C\n"}},
         "main.txt:2:1: character"},
        {"a script name too long", {{"vk_data/a_very_long_name1.txt", "x"}}, "holds at most 15"},
        {"a folder inside an archive folder", {{"vk_gra/sub/x.bmp", "a"}}, "archive folders hold files only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const auto& [name, bytes] : c.files)
            writeFile(dir.path() / "src" / name, bytes);
        const auto result =
            runVsktool({"build", (dir.path() / "src").string(), (dir.path() / "out").string()});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
}

TEST(Vsktool, HelpDescribesEveryCommand) {
    const auto overview = runVsktool({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    for (const char* command : {"pack", "list", "extract", "script", "build"}) {
        EXPECT_NE(overview.out.find(std::string("  ") + command + " "), std::string::npos) << command;
        const auto help = runVsktool({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: vsktool ") + command, 0), 0u) << help.out;
        EXPECT_EQ(help.err, "");
    }
}

} // namespace
} // namespace veskar
