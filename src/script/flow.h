#pragma once
// How the interpreter goes on after a line: the result of every command and of
// the interpreter's own line handlers. The numbers are the ones the trace shows.

namespace veskar {

enum class Flow : int {
    GoOn = 0,       // read the next line in this step
    EndStep = 1,    // the step ends; the next pass goes on
    Redispatch = 2, // the line was rewritten: run it again
};

constexpr int flowNumber(Flow flow) { return static_cast<int>(flow); }

} // namespace veskar
