#include "backends/qt/run_desktop.h"

#include <iostream>

namespace veskar {
// The desktop window arrives with the Qt host.
int runDesktop(int, char**, const DesktopOptions&) {
    std::cerr << "veskar: the desktop window is not built yet; use --headless\n";
    return 2;
}
} // namespace veskar
