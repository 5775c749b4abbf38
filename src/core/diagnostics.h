#pragma once
// Where the engine reports what a game author or a maintainer needs to know:
// damaged files, script problems, fall-backs taken. The player never sees it.
// Each distinct message is written once; script problems also reach the
// trace, next to the line they arose in.

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <set>
#include <string>
#include <string_view>

namespace veskar {

class Diagnostics {
public:
    // Writes to `out` (standard error when none is given).
    explicit Diagnostics(std::ostream* out = nullptr);

    // A problem of the program or of a file (UTF-8), written as "veskar: message".
    void report(std::string_view message);

    // A problem of script text: the message in UTF-8 and the text as the
    // script holds it (Shift-JIS). Written as "veskar: message: text".
    void scriptProblem(std::string_view message, std::string_view sjisText);

    // A problem of the running script (UTF-8), written as "veskar: SCRIPT:LINE: message"
    // where the script location is known.
    void scriptError(std::string_view message);

    // Where the running script is ("main:12"), or empty before a script runs;
    // script problems are written with it.
    void setScriptLocation(std::function<std::string()> locate) { locate_ = std::move(locate); }

    // A note for the trace alone (UTF-8), such as a call that was refused.
    void traceNote(std::string_view message);

    // Receives script problems and notes as they arise (the trace listens here).
    struct Listener {
        std::function<void(std::string_view message, std::string_view sjisText)> scriptProblem;
        std::function<void(std::string_view message)> note;
    };
    void setListener(Listener listener) { listener_ = std::move(listener); }

    // How many messages were written (repeats not counted).
    std::size_t written() const { return written_; }

private:
    void write(std::string line);
    std::string located(std::string_view message) const;

    std::ostream* out_;
    Listener listener_;
    std::function<std::string()> locate_;
    std::set<std::string> seen_;
    std::size_t written_ = 0;
};

} // namespace veskar
