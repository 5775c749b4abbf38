#pragma once
// The exit codes of veskar (README and --help list them).

namespace veskar {

constexpr int kExitGameEnded = 0;
// Another windowed veskar runs, or a screenshot could not be written.
constexpr int kExitOtherInstance = 1;
constexpr int kExitBadArguments = 2;
// The game folder, one of its archives or its definition is missing or damaged.
constexpr int kExitGameDataMissing = 3;
// A window was asked for but there is no display to open it on.
constexpr int kExitNoDisplay = 4;

} // namespace veskar
