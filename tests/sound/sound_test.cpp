// Voices and effects by name: archive search orders and the player's
// switches, the categories of se and seloop, volumes, and waiting for a
// voice on the virtual clock.

#include <gtest/gtest.h>

#include "sound/ogg_voice.h"
#include "sound/volume.h"
#include "sound_rig.h"

namespace veskar {
namespace {

using test::SoundRig;

TEST(Volume, HundredthsOfADecibelToAmplitude) {
    EXPECT_DOUBLE_EQ(amplitudeOf(0), 1.0);
    EXPECT_NEAR(amplitudeOf(-2000), 0.1, 1e-12);
    EXPECT_NEAR(amplitudeOf(-600), 0.501187, 1e-6);
    EXPECT_LT(amplitudeOf(-9999), 1e-4);
    EXPECT_EQ(volumeOf(0.1), -2000);
    EXPECT_EQ(volumeOf(0.0), -9999);
}

struct Placed {
    const char* archive;
    std::size_t frames; // each archive gets its own length, so the played one can be told apart
};

struct SearchCase {
    const char* what;
    std::vector<Placed> placed;
    int CV1, CV2, SE_ENA;
    int result;
    int slot;           // -1 nothing plays
    std::size_t frames; // of the sound that plays
};

TEST(FindAndPlaySound, SearchOrdersAndSwitches) {
    const std::vector<SearchCase> cases = {
        {"voice archive 3 wins over 1", {{"vk_ogg1.vsk", 3000}, {"vk_ogg3.vsk", 1000}}, 1, 1, 1, 0, 0, 1000},
        {"voice archive 2 when 3 lacks it",
         {{"vk_ogg1.vsk", 3000}, {"vk_ogg2.vsk", 2000}},
         1,
         1,
         1,
         0,
         0,
         2000},
        {"CV2 off skips voice archive 2",
         {{"vk_ogg2.vsk", 2000}, {"vk_ogg1.vsk", 3000}},
         1,
         0,
         1,
         0,
         0,
         3000},
        {"CV2 off: falls through to the effects",
         {{"vk_ogg2.vsk", 2000}, {"vk_se0.vsk", 100}},
         1,
         0,
         1,
         0,
         1,
         100},
        {"CV2 off and no effect: not played", {{"vk_ogg2.vsk", 2000}}, 1, 0, 1, 1, -1, 0},
        {"CV1 off skips every voice archive",
         {{"vk_ogg3.vsk", 1000}, {"vk_se1.vsk", 200}},
         0,
         1,
         1,
         0,
         1,
         200},
        {"effects are searched upward", {{"vk_se2.vsk", 300}, {"vk_se0.vsk", 100}}, 1, 1, 1, 0, 1, 100},
        {"effect archive 2 loops in slot 2", {{"vk_se2.vsk", 300}}, 1, 1, 1, 0, 2, 300},
        {"SE_ENA off: no effect", {{"vk_se0.vsk", 100}}, 1, 1, 0, 1, -1, 0},
        {"held nowhere", {}, 1, 1, 1, 1, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SoundRig rig;
        for (const auto& p : c.placed) {
            const bool ogg = std::string_view(p.archive).starts_with("vk_ogg");
            rig.entry(p.archive, "v01", ogg ? test::oggOf(p.frames) : test::wadyOf(p.frames));
        }
        Engine& e = rig.start();
        e.settings.CV1 = c.CV1;
        e.settings.CV2 = c.CV2;
        e.settings.SE_ENA = c.SE_ENA;
        EXPECT_EQ(e.sound.FindAndPlaySound("V01"), c.result);
        for (int slot = 0; slot < 3; ++slot) {
            EXPECT_EQ(rig.audio().hasBuffer(slot), slot == c.slot) << "slot " << slot;
            EXPECT_EQ(rig.audio().isPlaying(slot), slot == c.slot) << "slot " << slot;
        }
        if (c.slot >= 0) {
            EXPECT_EQ(rig.audio().bufferBytes(c.slot), c.frames * 2);
        }
        EXPECT_EQ(rig.audio().looping(2), c.slot == 2);
        EXPECT_EQ(e.sound.state.LoopSoundName, c.slot == 2 ? "V01" : "");
    }
}

TEST(SoundCommands, CategorySwitchesAndLoopVariants) {
    SoundRig rig;
    rig.entry("vk_se0.vsk", "SEH3RAIN", test::wadyOf(100))
        .entry("vk_se0.vsk", "SEH7BELL", test::wadyOf(110))
        .entry("vk_se2.vsk", "SEH4WAVE3_3", test::wadyOf(130))
        .entry("vk_se0.vsk", "SEH4WAVE3_1", test::wadyOf(120));
    Engine& e = rig.start();
    e.settings.SE[3] = 0;
    e.sound.se("seh3rain");
    EXPECT_FALSE(rig.audio().hasBuffer(1)) << "category 3 is off";
    e.sound.se("SEH7BELL");
    EXPECT_EQ(rig.audio().bufferBytes(1), 220u) << "no category 7: never filtered";

    // Group digit 3 takes SE_LVL2 as the variant offset: "1" + 2 = "3", found in archive 2: loops.
    e.settings.SE_LVL[2] = 2;
    e.sound.seloop("SEH4WAVE3_1");
    EXPECT_TRUE(rig.audio().looping(2));
    EXPECT_EQ(rig.audio().bufferBytes(2), 260u);
    EXPECT_EQ(e.sound.state.LoopSoundName, "SEH4WAVE3_3");
    e.sound.seoff();
    EXPECT_FALSE(rig.audio().hasBuffer(2));
    EXPECT_EQ(e.sound.state.LoopSoundName, "");

    // seloop of a sound of archive 0 plays once.
    e.settings.SE_LVL[2] = 0;
    e.sound.seloop("SEH4WAVE3_1");
    EXPECT_EQ(rig.audio().bufferBytes(1), 240u);
    EXPECT_FALSE(rig.audio().looping(1));

    // Skipping with EFX_CUT drops se, not seloop.
    e.sound.ReleaseAllSlots();
    e.run.SkipActive = true;
    e.settings.EFX_CUT = 1;
    e.sound.se("SEH7BELL");
    EXPECT_FALSE(rig.audio().hasBuffer(1));
    e.sound.seloop("SEH7BELL");
    EXPECT_TRUE(rig.audio().hasBuffer(1));
}

TEST(SoundCommands, VoicesRememberTheirNamesAndTakeTheNamelessTake) {
    SoundRig rig;
    rig.entry("vk_ogg1.vsk", "KAI001", test::oggOf(500)).entry("vk_ogg1.vsk", "KAI001X", test::oggOf(700));
    Engine& e = rig.start();
    EXPECT_EQ(e.sound.cv("KAI001"), "KAI001");
    EXPECT_EQ(rig.audio().bufferBytes(0), 1000u);
    e.vars.S(6) = 1; // the player renamed the characters
    EXPECT_EQ(e.sound.cv("KAI001"), "KAI001X");
    EXPECT_EQ(rig.audio().bufferBytes(0), 1400u);
    EXPECT_EQ(e.sound.state.LastVoiceName, "KAI001X");
    EXPECT_EQ(e.sound.PageVoiceList, "KAI001 KAI001X ");

    // While skipping the voice is not played but still remembered.
    e.sound.ReleaseAllSlots();
    e.run.SkipActive = true;
    e.sound.voiceTag("KAI001");
    EXPECT_FALSE(rig.audio().hasBuffer(0));
    EXPECT_EQ(e.sound.state.LastVoiceName, "KAI001");
    e.run.SkipActive = false;
    e.sound.replayLastVoice();
    EXPECT_EQ(rig.audio().bufferBytes(0), 1000u);
}

TEST(SoundCommands, BackgroundWindowDropsSoundsButTheVoiceTest) {
    SoundRig rig;
    rig.entry("vk_ogg1.vsk", "SAMPLECV", test::oggOf(300)).entry("vk_se0.vsk", "SSE01", test::wadyOf(100));
    Engine& e = rig.start();
    e.sound.setWindowActive(false);
    e.sound.PlaySoundByName("SSE01");
    EXPECT_FALSE(rig.audio().hasBuffer(1));
    e.sound.PlaySoundByName("SAMPLECV");
    EXPECT_TRUE(rig.audio().hasBuffer(0));
}

TEST(SoundVolumes, SlotsTakeTheirGroupsLevelAndMuteSilencesTheMaster) {
    SoundRig rig;
    Engine& e = rig.start();
    e.settings.Vol[0] = -100;
    e.settings.Vol[1] = -200;
    e.settings.Vol[2] = -300;
    e.settings.Vol[3] = -400;
    e.sound.ApplyVolumes();
    const int expected[8] = {-100, -200, -200, 0, -300, 0, -400, -400};
    for (int slot = 0; slot < 8; ++slot)
        if (slot != 3 && slot != 5) {
            EXPECT_EQ(rig.audio().volume(slot), expected[slot]) << slot;
        }
    e.sound.MuteSound();
    EXPECT_EQ(rig.audio().masterVolume(), kSilentVolume);
    e.sound.UnmuteSound();
    EXPECT_EQ(rig.audio().masterVolume(), 0);
}

TEST(SoundDamage, DamagedEntryPlaysNothingAndIsReportedOnce) {
    SoundRig rig;
    auto bad = test::wadyOf(100);
    bad[55] = 0xFF; // the block claims far more codes than it holds
    auto badOgg = test::oggOf(400);
    badOgg.resize(60);
    rig.entry("vk_se0.vsk", "BROKEN", bad).entry("vk_ogg1.vsk", "CUT", badOgg);
    Engine& e = rig.start();
    testing::internal::CaptureStderr();
    e.sound.se("BROKEN");
    e.sound.se("BROKEN");
    e.sound.cv("CUT");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(rig.audio().hasBuffer(1));
    EXPECT_FALSE(rig.audio().hasBuffer(0));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_NE(said.find("BROKEN in vk_se0.vsk"), std::string::npos) << said;
    EXPECT_NE(said.find("CUT in vk_ogg1.vsk"), std::string::npos) << said;
}

TEST(OggVoice, DecodesAWholeStreamFromMemory) {
    const auto samples = test::toneSamples(4000, 2);
    auto sound = decodeOggVoice(test::encodeOgg(samples, 2, 44100));
    ASSERT_TRUE(sound) << sound.error();
    EXPECT_EQ(sound->format, (PcmFormat{2, 44100, 16}));
    EXPECT_EQ(sound->pcm.size(), 4000u * 4);
    EXPECT_FALSE(decodeOggVoice(std::vector<std::uint8_t>(100, 7)));
    EXPECT_FALSE(decodeOggVoice({}));
}

TEST(OggVoice, TrailingSilenceIsCutFromLongVoicesOnly) {
    std::vector<std::uint8_t> shortVoice(20000, 0);
    EXPECT_EQ(playedVoiceLength(shortVoice), 20000u);
    std::vector<std::uint8_t> voice(40000, 1);
    std::fill(voice.begin() + 30000, voice.end(), 0);
    EXPECT_EQ(playedVoiceLength(voice), 29996u);
    std::vector<std::uint8_t> silent(40000, 0);
    EXPECT_EQ(playedVoiceLength(silent), 20000u);
    std::vector<std::uint8_t> loud(40000, 1);
    EXPECT_EQ(playedVoiceLength(loud), 39996u);
}

TEST(VoiceWait, WaitVoiceEndsWithTheVoiceOnTheVirtualClock) {
    SoundRig rig;
    rig.entry("vk_ogg1.vsk", "V1", test::oggOf(22050)); // one second
    Engine& e = rig.start();
    e.sound.cv("V1");
    e.run.WaitVoice = true;
    rig.tickUntil(950);
    EXPECT_TRUE(e.run.WaitVoice);
    EXPECT_TRUE(e.sound.IsVoicePlaying());
    rig.tickUntil(1100);
    EXPECT_FALSE(e.sound.IsVoicePlaying());
    EXPECT_FALSE(e.run.WaitVoice);
}

TEST(VoiceWait, AutoModeHoldsTheClickWaitWhileTheVoicePlays) {
    SoundRig rig;
    rig.entry("vk_ogg1.vsk", "V1", test::oggOf(22050));
    Engine& e = rig.start();
    e.run.ScriptRunning = true;
    e.run.WindowShown = true;
    e.vars.S(26) = 4;
    e.sound.cv("V1");
    e.run.ClickWaitKind = 1;
    e.run.AutoCountdown = 2;
    rig.tickUntil(950);
    EXPECT_EQ(e.run.ClickWaitKind, 1);
    EXPECT_EQ(e.run.AutoCountdown, 1);
    rig.tickUntil(1100);
    EXPECT_EQ(e.run.ClickWaitKind, 0);
}

TEST(VoiceWait, StopVoiceEndsTheWaitAtTheNextTick) {
    SoundRig rig;
    rig.entry("vk_ogg1.vsk", "V1", test::oggOf(22050));
    Engine& e = rig.start();
    e.sound.cv("V1");
    e.run.WaitVoice = true;
    rig.tickUntil(300);
    EXPECT_TRUE(e.run.WaitVoice);
    e.sound.StopVoice();
    rig.tickUntil(360);
    EXPECT_FALSE(e.run.WaitVoice);
}

} // namespace
} // namespace veskar

namespace veskar {
namespace {

TEST(VoiceCut, LeftClickStopsTheVoiceUnlessSomethingKeepsIt) {
    struct Case {
        const char* what;
        int CV_THROUGH, clickWait, clickGuard;
        bool inEffect;
        MouseButton button;
        bool stops;
    };
    const Case cases[] = {
        {"a left click", 0, 1, 0, false, MouseButton::Left, true},
        {"the player keeps voices", 1, 1, 0, false, MouseButton::Left, false},
        {"a page wait that keeps voices", 0, 4, 0, false, MouseButton::Left, false},
        {"a click right after another", 0, 1, 3, false, MouseButton::Left, false},
        {"a click cutting an effect short", 0, 4, 3, true, MouseButton::Left, true},
        {"a right click", 0, 1, 0, false, MouseButton::Right, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::SoundRig rig;
        rig.entry("vk_ogg1.vsk", "V1", test::oggOf(22050));
        Engine& e = rig.start();
        e.sound.cv("V1");
        e.settings.CV_THROUGH = c.CV_THROUGH;
        e.run.ClickWaitKind = c.clickWait;
        e.run.ClickGuard = c.clickGuard;
        e.run.InEffect = c.inEffect;
        e.mouseDown(c.button, {100, 100});
        EXPECT_EQ(e.sound.IsVoicePlaying(), !c.stops);
    }
}

} // namespace
} // namespace veskar
