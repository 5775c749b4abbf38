#pragma once
// The Host of the desktop: the main window, its picture, Qt message boxes and
// full screen.

#include <QString>
#include <functional>
#include <optional>

#include "platform/host.h"

namespace veskar {

class MainWindow;
class EngineDriver;

// A message box as the player would see it, texts already in Unicode.
struct MessageBoxRequest {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Answers message boxes without showing them (tests).
using MessageBoxAnswerer = std::function<MessageAnswer(const MessageBoxRequest&)>;

class QtHost : public Host {
public:
    // Without an answerer, boxes are shown, except on platforms with no screen
    // to show them on (offscreen, minimal): there they are printed to stderr
    // and answered with their first button.
    explicit QtHost(MainWindow& window, MessageBoxAnswerer answerer = {});

    void attach(EngineDriver& driver) { driver_ = &driver; }

    Picture& windowPicture() override;
    using Host::present;
    void present(const Rect& changed) override;
    void showFrame(const Picture& frame) override;
    void processMessages() override;
    MessageAnswer messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    void requestClose() override;
    void setCaption(const std::string& title) override;
    Point windowPosition() override;
    void setWindowPosition(Point topLeft) override;
    Point windowSize() override;
    Point screenSize() override;
    bool enterFullScreen(int mode) override;
    void leaveFullScreen() override;

    // An error that escaped an engine handler (UTF-8 or plain ASCII text).
    void showError(const std::string& message);

private:
    MessageAnswer ask(const MessageBoxRequest& request);

    MainWindow& window_;
    MessageBoxAnswerer answerer_;
    EngineDriver* driver_ = nullptr;
    bool closePosted_ = false;
};

} // namespace veskar
