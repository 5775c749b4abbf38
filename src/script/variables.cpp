#include "script/variables.h"

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
// The expression language arrives with the interpreter.
std::int32_t Variables::evalExpression(std::string_view) { return 0; }
void Variables::runAssignment(std::string_view) {}
bool Variables::evalCondition(std::string_view) { return false; }
} // namespace veskar
