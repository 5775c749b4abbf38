// What the player sees in the Qt window, compared with the headless run of
// the same game at the same virtual time: a present shows the window
// picture as it stands (mid-transition frames, parts drawn straight onto the
// window), and only the system's repaints run the engine's paint handler.

#include <QCoreApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/png_writer.h"
#include "backends/headless/virtual_clock.h"
#include "backends/qt/engine_driver.h"
#include "backends/qt/game_view.h"
#include "backends/qt/main_window.h"
#include "backends/qt/qt_host.h"
#include "graphics/packed_picture.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

bool due(std::uint32_t when, std::uint32_t now) { return static_cast<std::int32_t>(now - when) >= 0; }

Picture fromImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Picture p(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = rgb.pixel(x, y);
            p.setPixel(x, y, makeColour(qRed(c), qGreen(c), qBlue(c)));
        }
    return p;
}

// The Qt host with a hook where the engine hands control to the window
// between its frames.
class ObservedQtHost : public QtHost {
public:
    using QtHost::QtHost;
    void processMessages() override {
        QtHost::processMessages();
        if (afterMessages) afterMessages();
    }
    std::function<void()> afterMessages;
};

// The game in the Qt window on the offscreen platform, on virtual time: the
// same passes as the headless runner, and the view grabbed at given times
// (at the first moment the engine lets the window run at or after each).
class QtRun {
public:
    explicit QtRun(const std::filesystem::path& gameDir)
        : host_(window_),
          engine_(Platform{host_, clock_, store_, audio_, nullptr}, EngineOptions{gameDir, 1}),
          driver_(engine_, clock_, [](const std::string& m) { ADD_FAILURE() << m; }) {
        host_.attach(driver_);
        host_.afterMessages = [this] { grabDue(); };
        window_.gameView().onPaint = [this] {
            ++enginePaints;
            driver_.dispatch([](Engine& e) { e.PBPaint(); });
        };
    }

    // Runs until `until` ms, grabbing the view at each of `times`.
    void run(std::uint32_t until, std::vector<std::uint32_t> times) {
        pending_ = std::move(times);
        driver_.dispatch([](Engine& e) { e.FormCreate(); });
        window_.show();
        std::uint32_t nextPass = 0;
        while (!due(until, clock_.tickCount())) {
            QCoreApplication::processEvents();
            grabDue();
            if (due(nextPass, clock_.tickCount())) {
                driver_.dispatch([&](Engine& e) { nextPass = e.AppIdle(); });
                continue;
            }
            std::uint32_t next = nextPass;
            for (std::uint32_t t : pending_)
                if (static_cast<std::int32_t>(t - next) < 0) next = t;
            if (static_cast<std::int32_t>(until - next) < 0) next = until;
            clock_.advanceTo(next);
        }
    }

    Engine& engine() { return engine_; }
    std::map<std::uint32_t, Picture> grabs;
    int enginePaints = 0;

private:
    void grabDue() {
        for (auto it = pending_.begin(); it != pending_.end();) {
            if (!due(*it, clock_.tickCount())) {
                ++it;
                continue;
            }
            grabs[*it] = fromImage(window_.gameView().grab().toImage());
            it = pending_.erase(it);
        }
    }

    VirtualClock clock_;
    IniSettingsStore store_;
    VirtualAudioDevice audio_{clock_};
    MainWindow window_;
    ObservedQtHost host_;
    Engine engine_;
    EngineDriver driver_;
    std::vector<std::uint32_t> pending_;
};

// The headless frames of the same game at the same times.
std::map<std::uint32_t, Picture> headlessFrames(const std::filesystem::path& gameDir, std::uint32_t until,
                                                const std::vector<std::uint32_t>& times) {
    test::TempDir shots;
    HeadlessOptions options;
    options.until = until;
    for (std::uint32_t t : times)
        options.screenshots.push_back({t, shots.path() / (std::to_string(t) + ".png")});
    test::HeadlessRig rig(gameDir, std::move(options));
    EXPECT_EQ(rig.host.run(), 0);
    std::map<std::uint32_t, Picture> frames;
    for (std::uint32_t t : times) {
        auto read = readPng(shots.path() / (std::to_string(t) + ".png"));
        EXPECT_TRUE(read.has_value()) << t;
        if (read) frames[t] = std::move(*read);
    }
    return frames;
}

Picture gradient(int seed) {
    Picture p(800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            p.setPixel(x, y, makeColour((x + seed * 90) % 256, (y + seed * 40) % 256, (x + y) % 256));
    return p;
}

TEST(QtWindowView, ACrossFadeShowsTheSameFramesAsTheHeadlessRun) {
    test::FixtureGame game;
    game.addScript("main", "@gra A01 4\n@gra A02 3\n");
    game.addEntry("vk_gra.vsk", "A01", *EncodePackedPicture(gradient(1)));
    game.addEntry("vk_gra.vsk", "A02", *EncodePackedPicture(gradient(2)));
    const auto dir = game.write();
    // The fade (speed row 0: 65 frames of 8 ms) starts on the third pass, at 40 ms.
    const std::vector<std::uint32_t> times = {30, 150, 300, 450, 700};
    const auto headless = headlessFrames(dir, 800, times);
    QtRun qt(dir);
    qt.run(800, times);
    ASSERT_EQ(qt.grabs.size(), times.size());

    for (std::uint32_t t : times) {
        SCOPED_TRACE("at " + std::to_string(t) + " ms");
        ASSERT_TRUE(headless.count(t));
        EXPECT_TRUE(qt.grabs[t] == headless.at(t)) << "the window differs from the headless frame";
    }
    // Part-way frames are neither picture.
    const Picture& before = headless.at(30);
    const Picture& after = headless.at(700);
    for (std::uint32_t t : {150u, 300u, 450u}) {
        EXPECT_FALSE(qt.grabs[t] == before) << t;
        EXPECT_FALSE(qt.grabs[t] == after) << t;
    }
    EXPECT_FALSE(qt.grabs[150] == qt.grabs[300]);
    // Only showing the window asked for the engine's paint; presents did not.
    EXPECT_EQ(qt.enginePaints, 1);
}

TEST(QtWindowView, APartDrawnOntoTheWindowStaysUntilFixKeepsIt) {
    Picture part(20, 20);
    part.fill(makeColour(250, 40, 10));
    test::FixtureGame game;
    game.addScript("main", "@gra A01 4\n@partsload P01\n@ptset 0,0,20,20,100,120\n@sleep 200\n@fix\n");
    game.addEntry("vk_gra.vsk", "A01", *EncodePackedPicture(gradient(1)));
    game.addEntry("vk_gra.vsk", "P01", *EncodePackedPicture(part));
    const auto dir = game.write();
    const auto headless = headlessFrames(dir, 600, {150, 500});
    QtRun qt(dir);
    qt.run(600, {150, 500});
    ASSERT_EQ(qt.grabs.size(), 2u);
    EXPECT_TRUE(qt.grabs[150] == headless.at(150)) << "the part is on the window";
    EXPECT_EQ(qt.grabs[150].pixel(110, 130), makeColour(250, 40, 10));
    EXPECT_TRUE(qt.grabs[500] == headless.at(500));
    // fix took the window as it stood, part and all.
    EXPECT_EQ(qt.engine().pictures.nextScreen.pixel(110, 130), makeColour(250, 40, 10));
}

} // namespace
} // namespace veskar
