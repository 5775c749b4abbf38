#pragma once
// A fixture game whose scripts are run by a headless engine, with the trace
// written to a temporary file.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/sjis.h"
#include "support/fixture_game.h"
#include "support/headless_rig.h"

namespace veskar::test {

class ScriptRig {
public:
    ScriptRig& script(std::string_view name, std::string_view utf8) {
        if (name == "_config") hasDefinition_ = true;
        game_.addScript(name, utf8);
        return *this;
    }

    // Writes the game, creates the engine and loads `main` (the first pass).
    // Without a `_config` of its own the game gets a text layout of 40
    // columns, so that short test lines never wrap.
    Engine& start(HeadlessOptions options = {}) {
        if (!hasDefinition_) game_.addScript("_config", kTextLayoutDefinition);
        game_.addEntry("vk_gra.vsk", "blank", "x");
        const auto dir = game_.write();
        rig_ = std::make_unique<HeadlessRig>(dir, std::move(options));
        tracePath_ = traceDir_.path() / "trace.txt";
        engine().interp.trace.open(tracePath_);
        engine().FormCreate();
        engine().AppIdle();
        return engine();
    }

    Engine& engine() { return rig_->engine; }
    HeadlessHost& host() { return rig_->host; }
    Interpreter& interp() { return engine().interp; }
    RunState& run() { return engine().run; }

    void step() { interp().runStep(); }
    // Steps until the script waits for a click, at most `limit` steps.
    void stepUntilClickWait(int limit = 100) {
        for (int i = 0; i < limit && run().ClickWaitKind == 0; ++i) {
            run().WaitTicks = 0;
            run().WaitPasses = 0;
            step();
        }
    }

    // The trace so far, with lines in UTF-8.
    std::string trace() {
        engine().interp.trace.endLine();
        std::ifstream in(tracePath_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static constexpr std::string_view kTextLayoutDefinition =
        "TXW_OFS_X:20\nTXW_OFS_Y:430\nTX_OFS_X:30\nTX_OFS_Y:24\nTX_PITCH_X:13\nTX_PITCH_Y:32\n"
        "MOJI_MAX_X:40\nMOJI_MAX_Y:5\nTX2_OFS_X:60\nTX2_OFS_Y:60\nTX2_PITCH_X:13\nTX2_PITCH_Y:36\n"
        "MOJI_MAX2_X:40\nMOJI_MAX2_Y:14\nEND\n";

private:
    bool hasDefinition_ = false;
    FixtureGame game_;
    TempDir traceDir_;
    std::filesystem::path tracePath_;
    std::unique_ptr<HeadlessRig> rig_;
};

inline std::string sjis(std::string_view utf8) { return sjisText(utf8); }

} // namespace veskar::test
