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
} // namespace veskar
