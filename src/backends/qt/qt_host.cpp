#include "backends/qt/qt_host.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <iostream>

#include "backends/qt/engine_driver.h"
#include "backends/qt/game_view.h"
#include "backends/qt/main_window.h"
#include "core/sjis.h"

namespace veskar {

namespace {

QString fromCp932(const std::string& bytes) { return QString::fromStdString(cp932ToUtf8(bytes)); }

bool offers(MessageButtons buttons, MessageAnswer answer) {
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    }
    return false;
}

MessageAnswer firstButton(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

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

bool platformHasNoScreen() {
    const QString name = QGuiApplication::platformName();
    return name == "offscreen" || name == "minimal";
}

MessageAnswer showMessageBox(QWidget* parent, const MessageBoxRequest& request) {
    QMessageBox box(parent);
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    switch (request.icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (request.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        // Closed with Escape or the title bar: the box's way of saying no.
        return request.buttons == MessageButtons::Ok      ? MessageAnswer::Ok
               : request.buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                          : MessageAnswer::Cancel;
    }
}

} // namespace

QtHost::QtHost(MainWindow& window, MessageBoxAnswerer answerer)
    : window_(window), answerer_(std::move(answerer)) {}

Picture& QtHost::windowPicture() { return window_.gameView().picture(); }

void QtHost::present() { window_.gameView().showPicture(); }

void QtHost::processMessages() {
    if (driver_)
        driver_->processMessages();
    else
        QCoreApplication::processEvents();
}

MessageAnswer QtHost::ask(const MessageBoxRequest& request) {
    MessageAnswer answer;
    if (answerer_) {
        answer = answerer_(request);
    } else if (platformHasNoScreen()) {
        answer = firstButton(request.buttons);
        std::cerr << "veskar: message box [" << request.caption.toStdString() << "] "
                  << request.text.toStdString() << " -> " << answerName(answer) << '\n';
    } else {
        answer = showMessageBox(window_.isVisible() ? &window_ : nullptr, request);
    }
    return offers(request.buttons, answer) ? answer : firstButton(request.buttons);
}

MessageAnswer QtHost::messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                                 MessageButtons buttons) {
    return ask({fromCp932(text), fromCp932(caption), icon, buttons});
}

void QtHost::showError(const std::string& message) {
    std::cerr << "veskar: " << message << '\n';
    ask({QString::fromStdString(message), window_.windowTitle(), MessageIcon::Error, MessageButtons::Ok});
}

void QtHost::requestClose() {
    // The engine asks from inside its own handlers; the close runs once they
    // have returned, through the same query as the close button.
    if (closePosted_ || window_.isClosed()) return;
    closePosted_ = true;
    QMetaObject::invokeMethod(
        &window_,
        [this] {
            closePosted_ = false;
            window_.close();
        },
        Qt::QueuedConnection);
}

void QtHost::setCaption(const std::string& title) { window_.setWindowTitle(fromCp932(title)); }

Point QtHost::windowPosition() {
    const QPoint p = window_.pos();
    return {p.x(), p.y()};
}

void QtHost::setWindowPosition(Point topLeft) { window_.move(topLeft.x, topLeft.y); }

Point QtHost::windowSize() {
    const QSize s = window_.frameGeometry().size();
    return {s.width(), s.height()};
}

Point QtHost::screenSize() {
    QScreen* screen = window_.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {800, 600};
    const QSize s = screen->geometry().size();
    return {s.width(), s.height()};
}

bool QtHost::enterFullScreen(int mode) { return window_.enterFullScreen(mode); }

void QtHost::leaveFullScreen() { window_.leaveFullScreen(); }

} // namespace veskar
