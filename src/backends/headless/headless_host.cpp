#include "backends/headless/headless_host.h"

#include <algorithm>
#include <iostream>

#include "backends/headless/png_writer.h"
#include "core/sjis.h"
#include "shell/engine.h"
#include "shell/exit_codes.h"

namespace veskar {

namespace {
bool due(std::uint32_t when, std::uint32_t now) { return static_cast<std::int32_t>(now - when) >= 0; }

const char* answerName(MessageAnswer a) {
    switch (a) {
    case MessageAnswer::Ok:
        return "OK";
    case MessageAnswer::Cancel:
        return "Cancel";
    case MessageAnswer::Yes:
        return "Yes";
    case MessageAnswer::No:
        return "No";
    }
    return "?";
}
} // namespace

HeadlessHost::HeadlessHost(HeadlessOptions options) : options_(std::move(options)) {
    std::stable_sort(options_.screenshots.begin(), options_.screenshots.end(),
                     [](const Screenshot& a, const Screenshot& b) { return a.time < b.time; });
}

int HeadlessHost::run() {
    engine_->FormCreate();
    std::uint32_t nextPass = clock_.tickCount();
    for (;;) {
        deliverDue();
        if (closed_) break;
        const std::uint32_t now = clock_.tickCount();
        if (options_.until && due(*options_.until, now)) break;
        if (due(nextPass, now)) {
            nextPass = engine_->AppIdle();
            deliverDue();
            if (closed_) break;
            continue;
        }
        // Jump to the next thing that happens.
        std::uint32_t next = nextPass;
        const auto consider = [&](std::uint32_t t) {
            if (static_cast<std::int32_t>(t - next) < 0) next = t;
        };
        consider(nextTick_);
        if (nextEvent_ < options_.input.events.size()) consider(options_.input.events[nextEvent_].time);
        if (options_.until) consider(*options_.until);
        for (const auto& shot : options_.screenshots)
            consider(shot.time);
        clock_.advanceTo(next);
    }
    takeDueScreenshots();
    engine_->FormDestroy();
    for (const auto& shot : options_.screenshots) {
        if (!due(shot.time, clock_.tickCount()))
            std::cerr << "veskar: no screenshot at " << shot.time << " ms for " << shot.path.string()
                      << ": the run ended at " << clock_.tickCount() << " ms\n";
    }
    if (engine_->gameDataMissing()) return kExitGameDataMissing;
    return screenshotFailed_ ? 1 : 0;
}

void HeadlessHost::deliverDue() {
    // The timer first, as its tick was posted before anything else that is due now.
    const std::uint32_t now = clock_.tickCount();
    if (!closed_ && due(nextTick_, now)) {
        // Ticks that were missed while the engine slept are coalesced into one.
        while (due(nextTick_, now))
            nextTick_ += 55;
        ++ticks_;
        engine_->Timer1Timer();
    }
    while (!closed_ && nextEvent_ < options_.input.events.size() &&
           due(options_.input.events[nextEvent_].time, clock_.tickCount())) {
        deliverInput(options_.input.events[nextEvent_++]);
    }
    takeDueScreenshots();
    if (!closed_ && closeRequested_) {
        closeRequested_ = false;
        tryClose();
    }
}

void HeadlessHost::processMessages() { deliverDue(); }

void HeadlessHost::takeDueScreenshots() {
    auto& shots = options_.screenshots;
    while (!shots.empty() && due(shots.front().time, clock_.tickCount())) {
        auto written = writePng(window_, shots.front().path);
        if (!written) {
            std::cerr << "veskar: " << written.error() << '\n';
            screenshotFailed_ = true;
        }
        shots.erase(shots.begin());
    }
}

void HeadlessHost::deliverInput(const InputEvent& event) {
    switch (event.kind) {
    case InputEvent::Kind::Press:
        engine_->mouseDown(event.button, event.position);
        break;
    case InputEvent::Kind::Release:
        engine_->mouseUp(event.button, event.position);
        break;
    case InputEvent::Kind::Move:
        engine_->mouseMove(event.position);
        break;
    case InputEvent::Kind::KeyDown:
        engine_->keyDown(event.key);
        break;
    case InputEvent::Kind::KeyUp:
        engine_->keyUp(event.key);
        break;
    case InputEvent::Kind::Wheel:
        engine_->wheel(event.delta, event.position);
        break;
    case InputEvent::Kind::Close:
        tryClose();
        break;
    }
}

void HeadlessHost::tryClose() {
    if (closed_) return;
    if (engine_->FormCloseQuery()) closed_ = true;
}

MessageAnswer HeadlessHost::messageBox(const std::string& text, const std::string& caption, MessageIcon,
                                       MessageButtons buttons) {
    ++messageBoxes_;
    MessageAnswer answer = buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    if (nextAnswer_ < options_.input.answers.size()) answer = options_.input.answers[nextAnswer_++];
    // An answer the box does not offer falls back to its first button.
    const bool offered =
        (buttons == MessageButtons::Ok && answer == MessageAnswer::Ok) ||
        (buttons == MessageButtons::OkCancel &&
         (answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel)) ||
        (buttons == MessageButtons::YesNo && (answer == MessageAnswer::Yes || answer == MessageAnswer::No));
    if (!offered) answer = buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    std::cerr << "veskar: message box [" << cp932ToUtf8(caption) << "] " << cp932ToUtf8(text) << " -> "
              << answerName(answer) << '\n';
    return answer;
}

void HeadlessHost::setWindowPosition(Point topLeft) {
    position_ = topLeft;
    positions_.push_back(topLeft);
}

bool HeadlessHost::enterFullScreen(int mode) {
    fullScreenMode_ = mode;
    if (mode == 2) setWindowPosition({0, 0});
    return true;
}

} // namespace veskar
