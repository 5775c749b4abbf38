// The archive sets of a game folder: which slot answers a lookup, the disc
// folder fall-back, damaged and vanished archives.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "archive/archives.h"
#include "core/byte_reader.h"
#include "support/test_support.h"

namespace veskar {
namespace {

using test::FixtureGame;
namespace fs = std::filesystem;

std::string text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

Archives openAll(const fs::path& dir, const ShippedArchives& shipped = {}, std::string_view CDDir = "NULL") {
    Archives archives(dir);
    archives.LoadScriptIndexes();
    archives.OpenArchives(shipped, CDDir);
    return archives;
}

TEST(Archives, SlotFileNames) {
    const std::tuple<ArchiveSet, int, const char*> cases[] = {
        {ArchiveSet::Scripts, 1, "vk_data.vsk"},
        {ArchiveSet::ScriptOverrides, 1, "vk_data2.vsk"},
        {ArchiveSet::Pictures, 1, "vk_gra.vsk"},
        {ArchiveSet::Pictures, 3, "vk_gra3.vsk"},
        {ArchiveSet::JpegPictures, 1, "vk_gjp.vsk"},
        {ArchiveSet::WaveSounds, 5, "vk_wav5.vsk"},
        {ArchiveSet::SoundEffects, 0, "vk_se0.vsk"},
        {ArchiveSet::SoundEffects, 2, "vk_se2.vsk"},
        {ArchiveSet::OggVoices, 1, "vk_ogg1.vsk"},
        {ArchiveSet::Music, 1, "vk_bgm.vsk"},
        {ArchiveSet::Animations, 1, "vk_anim.vsk"},
        {ArchiveSet::Animations2, 1, "vk_anim2.vsk"},
        {ArchiveSet::Pictures, 0, ""},
        {ArchiveSet::SoundEffects, 3, ""},
    };
    for (const auto& [set, slot, name] : cases)
        EXPECT_EQ(Archives::slotFileName(set, slot), name);
}

// Every archive of an order holds the name; removing the winner each time
// must hand the lookup to the next archive of the order.
TEST(Archives, EveryReaderSearchesItsSlotsInItsOrder) {
    struct Case {
        const char* reader;
        std::span<const SlotRef> order;
        std::vector<const char*> files; // in the order they must win
    };
    const Case cases[] = {
        {"scripts", search::kScripts, {"vk_data2.vsk", "vk_data.vsk"}},
        {"pictures", search::kPictures, {"vk_gjp.vsk", "vk_gra3.vsk", "vk_gra2.vsk", "vk_gra.vsk"}},
        {"voices and effects",
         search::kVoicesThenEffects,
         {"vk_ogg3.vsk", "vk_ogg2.vsk", "vk_ogg1.vsk", "vk_se0.vsk", "vk_se1.vsk", "vk_se2.vsk"}},
        {"sound existence",
         search::kSoundExists,
         {"vk_ogg1.vsk", "vk_ogg2.vsk", "vk_ogg3.vsk", "vk_wav1.vsk", "vk_wav2.vsk", "vk_wav3.vsk",
          "vk_wav4.vsk", "vk_wav5.vsk", "vk_se0.vsk", "vk_se1.vsk", "vk_se2.vsk"}},
        {"music", search::kMusic, {"vk_bgm.vsk"}},
        {"animations", search::kAnimations, {"vk_anim.vsk", "vk_anim2.vsk"}},
    };
    for (const auto& c : cases) {
        for (std::size_t first = 0; first < c.files.size(); ++first) {
            SCOPED_TRACE(std::string(c.reader) + " from " + c.files[first]);
            FixtureGame game;
            // Something else in the archives that lose, so that a slot is never simply missing.
            for (std::size_t i = 0; i < first; ++i)
                game.addEntry(c.files[i], "OTHER", "x");
            for (std::size_t i = first; i < c.files.size(); ++i)
                game.addEntry(c.files[i], "M05", c.files[i]);
            const Archives archives = openAll(game.write());
            const auto found = archives.FindEntry(c.order, "m05");
            ASSERT_TRUE(found.has_value());
            EXPECT_EQ(found->path.filename(), c.files[first]);
            EXPECT_EQ(text(*archives.readEntry(*found)), c.files[first]);
        }
    }
    EXPECT_EQ(search::kVoices.size() + search::kEffects.size(), search::kVoicesThenEffects.size());
}

TEST(Archives, LookupIgnoresLetterCaseAndTheFirstOfTwoEntriesWins) {
    FixtureGame game;
    game.addEntry("vk_gra.vsk", "sys_qbtn", "first").addEntry("vk_gra.vsk", "SYS_QBTN", "second");
    const Archives archives = openAll(game.write());
    for (const char* asked : {"sys_qbtn", "SYS_QBTN", "Sys_QBtn"}) {
        const auto found = archives.FindEntry(search::kPictures, asked);
        ASSERT_TRUE(found) << asked;
        EXPECT_EQ(found->set, ArchiveSet::Pictures);
        EXPECT_EQ(found->slot, 1);
        EXPECT_EQ(text(*archives.readEntry(*found)), "first") << asked;
    }
    EXPECT_FALSE(archives.FindEntry(search::kPictures, "sys_qbtn.bmp"));
    EXPECT_FALSE(archives.FindEntry(search::kMusic, "sys_qbtn")) << "other sets do not answer";
}

TEST(Archives, EmptyAndMissingArchives) {
    FixtureGame game;
    game.addEmptyArchive("vk_gra.vsk").addScript("main", "x\n");
    const Archives archives = openAll(game.write());
    EXPECT_TRUE(archives.scriptArchiveExists());
    EXPECT_TRUE(archives.firstPictureArchiveExists()) << "N = 0 is a valid archive";
    EXPECT_EQ(archives.index(ArchiveSet::Pictures, 1).count(), 0u);
    EXPECT_TRUE(archives.index(ArchiveSet::Pictures, 2).path.empty());
    EXPECT_TRUE(archives.index(ArchiveSet::ScriptOverrides, 1).path.empty());
    EXPECT_FALSE(archives.FindEntry(search::kPictures, "main"));
    EXPECT_TRUE(archives.FindEntry(search::kScripts, "MAIN"));

    test::TempDir empty;
    const Archives none = openAll(empty.path());
    EXPECT_FALSE(none.scriptArchiveExists());
    EXPECT_FALSE(none.firstPictureArchiveExists());
}

// The slot's file lies only in the disc folder; is it found?
TEST(Archives, DiscFolderIsTriedPerTheSetsCondition) {
    struct Case {
        const char* file;
        ShippedArchives shipped;
        bool tried;
    };
    const Case cases[] = {
        {"vk_gra.vsk", {.VKD_GRA = 0}, false},
        {"vk_gra.vsk", {.VKD_GRA = 1}, true},
        {"vk_gra2.vsk", {.VKD_GRA = 1}, false},
        {"vk_gra2.vsk", {.VKD_GRA = 2}, true},
        {"vk_gra3.vsk", {.VKD_GRA = 3}, true},
        {"vk_gjp.vsk", {.VKD_GJP = 0}, false},
        {"vk_gjp.vsk", {.VKD_GJP = 2}, true},
        {"vk_wav1.vsk", {.VKD_WAV = 1}, true},
        {"vk_wav5.vsk", {.VKD_WAV = 4}, false},
        {"vk_wav5.vsk", {.VKD_WAV = 5}, true},
        {"vk_se0.vsk", {.VKD_SE = 0}, false},
        {"vk_se0.vsk", {.VKD_SE = 1}, true},
        {"vk_se2.vsk", {.VKD_SE = 2}, false},
        {"vk_se2.vsk", {.VKD_SE = 3}, true},
        {"vk_ogg3.vsk", {.VKD_OGG = 2}, false},
        {"vk_ogg3.vsk", {.VKD_OGG = 3}, true},
        {"vk_bgm.vsk", {}, true},
        {"vk_anim.vsk", {.VKD_ANIM = 0}, false},
        {"vk_anim.vsk", {.VKD_ANIM = 1}, true},
        {"vk_anim2.vsk", {.VKD_ANIM = 1}, false},
        {"vk_anim2.vsk", {.VKD_ANIM = 2}, true},
        {"vk_data2.vsk", {.VKD_GRA = 3}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        FixtureGame game, disc;
        disc.addEntry(c.file, "X", "disc").write();
        const Archives archives = openAll(game.write(), c.shipped, disc.path().string() + "/");
        const ArchiveSet sets[] = {
            ArchiveSet::Pictures,     ArchiveSet::JpegPictures, ArchiveSet::WaveSounds,
            ArchiveSet::SoundEffects, ArchiveSet::OggVoices,    ArchiveSet::Music,
            ArchiveSet::Animations,   ArchiveSet::Animations2,  ArchiveSet::ScriptOverrides};
        int found = 0;
        for (ArchiveSet set : sets)
            for (int slot : Archives::slotsOf(set))
                if (!archives.index(set, slot).path.empty()) {
                    ++found;
                    EXPECT_EQ(archives.index(set, slot).path, disc.path() / c.file);
                    EXPECT_EQ(Archives::slotFileName(set, slot), c.file);
                }
        EXPECT_EQ(found, c.tried ? 1 : 0);
    }
}

TEST(Archives, DiscFolderPrefixIsUsedAsStored) {
    struct Case {
        const char* what;
        std::string CDDir;
        const char* fileOnDisc; // the archive's file name in the disc folder
        bool found;
    };
    test::TempDir disc;
    const std::string d = disc.path().string();
    const Case cases[] = {
        {"folder with a slash", d + "/", "vk_gra.vsk", true},
        {"one trailing backslash is dropped", d + "/\\", "vk_gra.vsk", true},
        {"no separator is inserted", d + "/pre_", "pre_vk_gra.vsk", true},
        {"folder without a slash is a prefix of the name", d, "vk_gra.vsk", false},
        {"NULL never falls back", "NULL", "vk_gra.vsk", false},
        {"empty never falls back", "", "vk_gra.vsk", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(disc.path());
        fs::create_directories(disc.path());
        FixtureGame game, onDisc(disc.path());
        onDisc.addEntry(c.fileOnDisc, "X", "disc").write();
        // "NULL" must not reach a file that happens to be called so beside the game.
        game.addEntry("NULLvk_gra.vsk", "X", "beside").write();
        const Archives archives = openAll(game.path(), {.VKD_GRA = 1}, c.CDDir);
        EXPECT_EQ(archives.firstPictureArchiveExists(), c.found);
        EXPECT_EQ(archives.FindEntry(search::kPictures, "x").has_value(), c.found);
    }
}

TEST(Archives, TheGameFolderWinsOverTheDiscFolder) {
    FixtureGame game, disc;
    game.addEntry("vk_gra.vsk", "X", "game").write();
    disc.addEntry("vk_gra.vsk", "X", "disc").write();
    const Archives archives = openAll(game.path(), {.VKD_GRA = 3}, disc.path().string() + "/");
    EXPECT_EQ(text(*archives.readEntry(*archives.FindEntry(search::kPictures, "x"))), "game");
}

void writeRaw(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(Archives, DamagedIndexesAreReportedOnceAndTheirTrustedEntriesStayUsable) {
    struct Case {
        const char* what;
        std::function<std::vector<std::uint8_t>()> bytes;
        std::vector<const char*> usable;
        const char* message; // after "<path>: damaged index: "
    };
    // Two general entries A and B of one byte each, L = 4.
    const auto sound = [] {
        ByteWriter w;
        w.u32(2);
        w.u32(4);
        for (char name : {'A', 'B'}) {
            w.bytes(std::vector<std::uint8_t>{static_cast<std::uint8_t>(name), 0, 0, 0});
            w.u32(name == 'A' ? 32 : 33);
            w.u32(1);
        }
        w.u8('a');
        w.u8('b');
        return std::move(w.data());
    };
    const Case cases[] = {
        {"entry data cut off",
         [&] {
             auto b = sound();
             b.pop_back();
             return b;
         },
         {"A"},
         "entry 1 'B' (offset 33, size 1) reaches past the end of the file (33 bytes)"},
        {"index cut off",
         [&] {
             auto b = sound();
             b.resize(25);
             return b;
         },
         {},
         "the index claims 2 entries but the file holds only 1; entry 0 'A' (offset 32, size 1) reaches past "
         "the end of the file (25 bytes)"},
        {"count too large",
         [&] {
             auto b = sound();
             b[0] = 200;
             return b;
         },
         {"A", "B"},
         "the index claims 200 entries but the file holds only 2"},
        {"header cut off",
         [] {
             return std::vector<std::uint8_t>{2, 0, 0};
         },
         {},
         "the file is too short to hold its entry count and name length"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        writeRaw(dir.path() / "vk_gra.vsk", c.bytes());
        testing::internal::CaptureStderr();
        const Archives archives = openAll(dir.path());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err,
                  "veskar: " + (dir.path() / "vk_gra.vsk").string() + ": damaged index: " + c.message + "\n");
        EXPECT_EQ(archives.index(ArchiveSet::Pictures, 1).count(), c.usable.size());
        for (const char* name : c.usable) {
            const auto found = archives.FindEntry(search::kPictures, name);
            ASSERT_TRUE(found) << name;
            EXPECT_EQ(archives.readEntry(*found)->size(), 1u);
        }
    }
}

TEST(Archives, ReadsExactlyTheEntryAndFailsCleanlyWhenTheFileShrank) {
    FixtureGame game;
    game.addEntry("vk_gra.vsk", "a", "0123").addEntry("vk_gra.vsk", "b", "456789");
    const Archives archives = openAll(game.write());
    const auto b = archives.FindEntry(search::kPictures, "b");
    ASSERT_TRUE(b);
    EXPECT_EQ(text(*archives.readEntry(*b)), "456789");

    fs::resize_file(b->path, fs::file_size(b->path) - 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(archives.readEntry(*b));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is shorter than"), std::string::npos);

    fs::remove(b->path);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(archives.readEntry(*b));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot open"), std::string::npos);
}

} // namespace
} // namespace veskar
