#include "text/message_window.h"

#include "shell/engine.h"

namespace veskar {

MessageWindow::MessageWindow(Engine& engine) : engine_(engine) {}

void MessageWindow::BuildWindowPicture() {}
void MessageWindow::ComposeMessageWindow() {}
void MessageWindow::DrawMessageWindow() {}

void MessageWindow::ComposeScreenWithWindow() {
    engine_.pictures.nextScreen = engine_.pictures.sceneBuffer;
}

void MessageWindow::OpenMessageWindow() {
    engine_.run.WindowShown = true;
}

void MessageWindow::CloseMessageWindow() {
    engine_.layout.textColumn = 0;
    engine_.layout.textRow = 0;
    engine_.run.WindowShown = false;
}

void MessageWindow::SetTextMode(int n) {
    auto& vars = engine_.vars;
    if (n == vars.S(150)) return;
    engine_.layout.resetPage();
    vars.S(150) = vars.S(150) != 0 ? 0 : 1;
}

void MessageWindow::SetWindowState(int n) {
    engine_.layout.resetPage();
    engine_.run.WindowShown = n != 0;
}

void MessageWindow::DrawNamePlate(std::string_view) {}
void MessageWindow::AnimateClickWait() {}
void MessageWindow::RestoreClickWaitArea() {}
void MessageWindow::HideMessageWindow() {}
void MessageWindow::ShowHiddenWindow() {}
void MessageWindow::ShowPanicScreen() {}
void MessageWindow::EndPanicScreen() {}

} // namespace veskar
