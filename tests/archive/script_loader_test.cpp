// Loading scripts into the two buffers, byte negation and the readers of
// definition scripts.

#include <gtest/gtest.h>

#include <functional>

#include "archive/script_loader.h"
#include "archive/script_source.h"
#include "support/test_support.h"

namespace veskar {
namespace {

using test::FixtureGame;
using test::HeadlessRig;

std::string mainText(const Engine& engine) {
    return {reinterpret_cast<const char*>(engine.interp.MainScriptBuffer->data()),
            static_cast<std::size_t>(engine.interp.state().scriptSize)};
}

// A rig on a fixture game with its script indexes read, as start-up leaves them.
struct LoadedGame {
    explicit LoadedGame(FixtureGame& game) : rig(game.write()) { rig.engine.archives.LoadScriptIndexes(); }
    HeadlessRig rig;
    Engine& engine = rig.engine;
};

TEST(ByteNegation, RestoresEveryByteAndKeepsLineEnds) {
    const std::pair<std::uint8_t, std::uint8_t> cases[] = {
        {0x01, 0xFF}, {0xFF, 0x01}, {0x80, 0x80}, {0x00, 0x00}, {0x7F, 0x81}, {0x41, 0xBF},
    };
    for (const auto& [stored, plain] : cases) {
        std::uint8_t b = stored;
        negateBytes({&b, 1});
        EXPECT_EQ(b, plain) << int(stored);
        negateBytes({&b, 1});
        EXPECT_EQ(b, stored) << "one routine serves both ways";
    }
}

TEST(LoadScript, MainScriptFromTheOverrideArchiveWithItsNameAsAsked) {
    FixtureGame game;
    game.addScript("main", "from data\n").addOverrideScript("MAIN", "from override\nsecond\n");
    LoadedGame loaded(game);
    Engine& engine = loaded.engine;
    engine.interp.state().readPos = 5;
    engine.interp.state().needLine = false;
    engine.run.ScriptRunning = false;
    engine.vars.S(10) = 7;

    ASSERT_TRUE(engine.interp.loadMainScript("Main"));
    EXPECT_EQ(mainText(engine), std::string("from override\0second\0", 21));
    EXPECT_EQ(engine.interp.state().loadedScript, "Main") << "letter case as asked";
    EXPECT_EQ(engine.interp.state().readPos, 0);
    EXPECT_TRUE(engine.interp.state().needLine);
    EXPECT_TRUE(engine.run.ScriptRunning);
    EXPECT_EQ(engine.vars.S(10), 0);
    EXPECT_EQ(engine.scripts.definitionSize, 0) << "the definition buffer is not touched";
}

TEST(LoadScript, DefinitionLoadLeavesTheMainScriptAlone) {
    FixtureGame game;
    game.addScript("main", "line one\n").addScript("_config", "TITLE:x\nEND\n");
    LoadedGame loaded(game);
    Engine& engine = loaded.engine;
    ASSERT_TRUE(engine.interp.loadMainScript("main"));
    engine.interp.state().readPos = 3;
    engine.interp.state().needLine = false;
    engine.run.ScriptRunning = false;
    engine.vars.S(10) = 4;

    ASSERT_TRUE(engine.scripts.LoadDefinition("_CONFIG"));
    EXPECT_EQ(engine.scripts.definitionText(), std::string_view("TITLE:x\0END\0", 12));
    EXPECT_EQ(engine.scripts.definitionPos, 0);
    EXPECT_EQ(mainText(engine), std::string("line one\0", 9));
    EXPECT_EQ(engine.interp.state().loadedScript, "main");
    EXPECT_EQ(engine.interp.state().readPos, 3);
    EXPECT_FALSE(engine.interp.state().needLine);
    EXPECT_FALSE(engine.run.ScriptRunning);
    EXPECT_EQ(engine.vars.S(10), 4);
}

// A load that fails leaves both buffers, their positions and the run state as they were.
TEST(LoadScript, FailedLoadsChangeNothing) {
    struct Case {
        const char* what;
        const char* name;
        std::function<void(FixtureGame&)> extra;
        const char* stderrHas; // nullptr: nothing on stderr
    };
    const Case cases[] = {
        {"name in neither archive", "nowhere", [](FixtureGame&) {}, nullptr},
        {"name only in another set", "bg01", [](FixtureGame& g) { g.addEntry("vk_gra.vsk", "bg01", "x"); },
         nullptr},
        {"entry larger than the script buffer", "huge",
         [](FixtureGame& g) { g.addEntry("vk_data.vsk", "huge", std::string(kScriptBufferSize + 1, 'x')); },
         "script 'huge' in "},
    };
    for (const auto& c : cases) {
        for (bool main : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (main ? " (main)" : " (definition)"));
            FixtureGame game;
            game.addScript("main", "old\n").addScript("_config", "A:1\n");
            c.extra(game);
            LoadedGame loaded(game);
            Engine& engine = loaded.engine;
            ASSERT_TRUE(engine.interp.loadMainScript("main"));
            ASSERT_TRUE(engine.scripts.LoadDefinition("_config"));
            engine.interp.state().readPos = 2;
            engine.scripts.definitionPos = 1;
            engine.run.ScriptRunning = false;
            engine.vars.S(10) = 9;
            engine.interp.insertBuffer = "ab"; // text being inserted into the current line

            testing::internal::CaptureStderr();
            EXPECT_FALSE(main ? engine.interp.loadMainScript(c.name) : engine.scripts.LoadDefinition(c.name));
            std::string err = testing::internal::GetCapturedStderr();
            // Only the interpreter says that a script it was asked to run is missing.
            const std::string missing = "veskar: script '" + std::string(c.name) + "' not found\n";
            if (main && err.ends_with(missing)) err.resize(err.size() - missing.size());
            if (c.stderrHas) {
                EXPECT_NE(err.find(c.stderrHas), std::string::npos) << err;
                EXPECT_NE(err.find("262144"), std::string::npos) << err;
            } else {
                EXPECT_EQ(err, "");
            }
            EXPECT_EQ(mainText(engine), std::string("old\0", 4));
            EXPECT_EQ(engine.interp.state().loadedScript, "main");
            EXPECT_EQ(engine.interp.state().readPos, 2);
            EXPECT_FALSE(engine.run.ScriptRunning);
            EXPECT_EQ(engine.vars.S(10), 9);
            EXPECT_EQ(engine.interp.insertBuffer, "ab");
            EXPECT_EQ(engine.scripts.definitionText(), std::string_view("A:1\0", 4));
            EXPECT_EQ(engine.scripts.definitionPos, 1);
        }
    }
}

TEST(LoadScript, AnEntryFillingTheWholeBufferLoads) {
    FixtureGame game;
    std::string full(kScriptBufferSize, '\xBF'); // 'A' negated
    game.addEntry("vk_data.vsk", "full", full);
    LoadedGame loaded(game);
    ASSERT_TRUE(loaded.engine.interp.loadMainScript("full"));
    EXPECT_EQ(loaded.engine.interp.state().scriptSize, static_cast<std::int32_t>(kScriptBufferSize));
    EXPECT_EQ((*loaded.engine.interp.MainScriptBuffer)[kScriptBufferSize - 1], 'A');
}

TEST(LoadScript, ArchiveGoneAfterStartUpFailsAsIfMissing) {
    FixtureGame game;
    game.addScript("main", "old\n").addScript("next", "new\n");
    LoadedGame loaded(game);
    Engine& engine = loaded.engine;
    ASSERT_TRUE(engine.interp.loadMainScript("main"));
    std::filesystem::remove(game.path() / "vk_data.vsk");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(engine.interp.loadMainScript("next"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(engine.interp.state().loadedScript, "main");
    EXPECT_EQ(mainText(engine), std::string("old\0", 4));
}

TEST(DefinitionReading, LinesUpToEachNulUntilTheEnd) {
    FixtureGame game;
    // The last line has no NUL of its own: it still ends at the end of the script.
    auto stored = encodeScriptSource("a,b\n\nEND\n;x\n").value();
    stored.pop_back();
    game.addEntry("vk_data.vsk", "view", stored);
    LoadedGame loaded(game);
    ScriptLoader& scripts = loaded.engine.scripts;
    ASSERT_TRUE(scripts.LoadDefinition("view"));
    std::vector<std::string> lines;
    while (!scripts.definitionAtEnd())
        lines.push_back(scripts.ReadDefinitionLine());
    EXPECT_EQ(lines, (std::vector<std::string>{"a,b", "", "END", ";x"}));
    EXPECT_EQ(scripts.ReadDefinitionLine(), "") << "reading at the end stays at the end";
    EXPECT_EQ(scripts.definitionPos, scripts.definitionSize);
}

TEST(FieldOf, CountsCommasFromZeroWithoutTrimming) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"a,,c", 0, "a"},    {"a,,c", 1, ""},     {"a,,c", 2, "c"}, {"a,,c", 3, ""},
        {"a,", 1, ""},       {"a", 1, ""},        {"a", 0, "a"},    {"", 0, ""},
        {" x , y", 1, " y"}, {"1,2,3,4", 3, "4"}, {"a,b", -1, ""},
    };
    for (const auto& [text, n, expected] : cases)
        EXPECT_EQ(FieldOf(text, n), expected) << text << " field " << n;
}

// Start-up reads the archives of a game folder and the first pass loads `main`.
TEST(StartUp, ReadsTheArchivesAndTheFirstPassLoadsMain) {
    struct Case {
        const char* what;
        bool withPictures;
        int messageBoxes;
    };
    for (const Case c : {Case{"complete game", true, 0}, Case{"no vk_gra.vsk", false, 1}}) {
        SCOPED_TRACE(c.what);
        FixtureGame game;
        game.addScript("main", "hello\n").addScript("_config", "TITLE:x\n");
        if (c.withPictures) game.addEntry("vk_gra.vsk", "bg", "x");
        HeadlessRig rig(game.write());
        rig.engine.FormCreate();
        EXPECT_EQ(rig.host.messageBoxCount(), c.messageBoxes);
        rig.engine.AppIdle();
        if (c.withPictures) {
            EXPECT_EQ(rig.engine.interp.state().loadedScript, "main");
            EXPECT_TRUE(rig.engine.run.ScriptRunning);
            EXPECT_EQ(mainText(rig.engine), std::string("hello\0", 6));
        } else {
            EXPECT_EQ(rig.engine.interp.state().loadedScript, "") << "the game closes on its first pass";
        }
    }
}

} // namespace
} // namespace veskar
