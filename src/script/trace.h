#pragma once
// The script trace: one text line per script line executed, for checking a
// whole run against what its scripts say.
//
//   main@120: *chain sub:top  => #8 1
//   main@40: !V001=V001+
//     ! 無効数式: V001+
//
// Script name and byte offset of the line, the line in UTF-8, and for command
// lines the keyword index and the result. Expression diagnostics follow the
// line they arose in.

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace veskar {

class Trace {
public:
    // Opens (truncates) the file; without a path nothing is written. False
    // when the file cannot be written.
    bool open(const std::optional<std::filesystem::path>& path);
    bool enabled() const { return out_.is_open(); }

    // A line about to run; written once its outcome is known (endLine) or when
    // the next line begins.
    void beginLine(std::string_view script, std::int32_t offset, std::string_view sjisLine,
                   bool rewritten = false);
    // Finishes the pending line; `outcome` (may be empty) is appended after "  => ".
    void endLine(std::string_view outcome = {});
    // A diagnostic (message in UTF-8, text in Shift-JIS) of the pending or last line.
    void diagnostic(std::string_view message, std::string_view sjisText);
    // A note from the interpreter itself (UTF-8), such as a refused call.
    void note(std::string_view utf8);

private:
    void flushPending();

    std::ofstream out_;
    std::optional<std::string> pending_;
    std::string notes_;
};

} // namespace veskar
