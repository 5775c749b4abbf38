#include <sstream>
#include <string_view>

#include "core/diagnostics.h"
#include "core/random.h"
#include "fuzz_targets.h"
#include "script/variables.h"

namespace veskar::fuzz {

void expression(Bytes data) {
    // The banks need only a random generator and a sink; one set serves the whole run.
    static Random random{1};
    static std::ostringstream ignored;
    static Diagnostics diagnostics{&ignored};
    static Variables vars{random, diagnostics};
    ignored.str({});
    // Script text ends at a NUL and a line holds at most 2047 bytes.
    std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    text = text.substr(0, std::min<std::size_t>(text.find('\0'), 2047));
    (void)vars.evalExpression(text);
    (void)vars.evalCondition(text);
    vars.runAssignment(text);
}

} // namespace veskar::fuzz
