#pragma once
// Runs the engine without a display: virtual time, input from a script of
// timed events, message boxes answered from that script and printed to
// stderr, the window picture written as PNG on request.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "backends/headless/input_script.h"
#include "backends/headless/virtual_clock.h"
#include "platform/host.h"

namespace veskar {

class Engine;

struct Screenshot {
    std::uint32_t time = 0;
    std::filesystem::path path;
};

struct HeadlessOptions {
    std::optional<std::uint32_t> until; // stop after this much virtual time
    InputScript input;
    std::vector<Screenshot> screenshots;
};

class HeadlessHost : public Host {
public:
    explicit HeadlessHost(HeadlessOptions options);

    VirtualClock& clock() { return clock_; }
    void attach(Engine& engine) { engine_ = &engine; }

    // Creates the window, runs until the window closes or the time is up, and
    // destroys it. Returns the process exit code (1 when a screenshot failed).
    int run();

    // Host
    Picture& windowPicture() override { return window_; }
    using Host::present;
    void present(const Rect&) override { ++presents_; }
    void processMessages() override;
    MessageAnswer messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    void requestClose() override { closeRequested_ = true; }
    void setCaption(const std::string& title) override { caption_ = title; }
    Point windowPosition() override { return position_; }
    void setWindowPosition(Point topLeft) override;
    Point windowSize() override { return {808, 624 + 27}; }
    Point screenSize() override { return {1920, 1080}; }
    bool enterFullScreen(int mode) override;
    void leaveFullScreen() override { fullScreenMode_ = 0; }

    // What a run did, for tests.
    const std::string& caption() const { return caption_; }
    const std::vector<Point>& positions() const { return positions_; }
    int messageBoxCount() const { return messageBoxes_; }
    int presentCount() const { return presents_; }
    bool closed() const { return closed_; }
    int fullScreenMode() const { return fullScreenMode_; }
    int timerTicks() const { return ticks_; }

private:
    void deliverDue();
    void deliverInput(const InputEvent& event);
    void tryClose();
    void takeDueScreenshots();

    HeadlessOptions options_;
    VirtualClock clock_;
    Engine* engine_ = nullptr;
    Picture window_{800, 600};
    std::string caption_;
    Point position_{0, 0};
    std::vector<Point> positions_;
    std::size_t nextEvent_ = 0;
    std::size_t nextAnswer_ = 0;
    std::uint32_t nextTick_ = 55;
    bool closeRequested_ = false;
    bool closed_ = false;
    bool screenshotFailed_ = false;
    int messageBoxes_ = 0;
    int presents_ = 0;
    int ticks_ = 0;
    int fullScreenMode_ = 0;
};

} // namespace veskar
