#include "script/variables.h"

#include "core/diagnostics.h"

namespace veskar {

void Variables::clearAll() {
    ints.fill(0);
    F.clearAll();
    E.clearAll();
    T.clearAll();
    gallery.clearAll();
    recollection.clearAll();
    readMarks.clearAll();
}

void Variables::clearV() {
    for (int i = 0; i < 1000; ++i)
        V(i) = 0;
}

void Variables::clearGameState() {
    F.clearAll();
    T.clearAll();
    clearV();
}

void Variables::report(std::string_view message, std::string_view text) const {
    diagnostics_.scriptProblem(message, text);
}

} // namespace veskar
