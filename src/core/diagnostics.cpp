#include "core/diagnostics.h"

#include <iostream>

#include "core/sjis.h"

namespace veskar {

namespace {
// Past this many distinct messages the oldest are forgotten, so a script that
// makes endless new ones cannot grow the set without bound.
constexpr std::size_t kRememberedMessages = 4096;
} // namespace

Diagnostics::Diagnostics(std::ostream* out) : out_(out ? out : &std::cerr) {}

void Diagnostics::write(std::string line) {
    if (seen_.contains(line)) return;
    if (seen_.size() >= kRememberedMessages) seen_.clear();
    *out_ << "veskar: " << line << '\n';
    out_->flush();
    seen_.insert(std::move(line));
    ++written_;
}

void Diagnostics::report(std::string_view message) { write(std::string(message)); }

std::string Diagnostics::located(std::string_view message) const {
    std::string where = locate_ ? locate_() : std::string();
    if (where.empty()) return std::string(message);
    return where + ": " + std::string(message);
}

void Diagnostics::scriptError(std::string_view message) { write(located(message)); }

void Diagnostics::scriptProblem(std::string_view message, std::string_view sjisText) {
    if (listener_.scriptProblem) listener_.scriptProblem(message, sjisText);
    std::string line = located(message);
    line += ": ";
    line += cp932ToUtf8(sjisText);
    write(std::move(line));
}

void Diagnostics::traceNote(std::string_view message) {
    if (listener_.note) listener_.note(message);
}

} // namespace veskar
