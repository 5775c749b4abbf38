#include "script/trace.h"

#include "core/sjis.h"

namespace veskar {

bool Trace::open(const std::optional<std::filesystem::path>& path) {
    if (!path) return true;
    out_.open(*path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out_);
}

void Trace::beginLine(std::string_view script, std::int32_t offset, std::string_view sjisLine,
                      bool rewritten) {
    if (!enabled()) return;
    flushPending();
    std::string text = cp932ToUtf8(script);
    text += '@';
    text += std::to_string(offset);
    text += rewritten ? "+: " : ": ";
    text += cp932ToUtf8(sjisLine);
    pending_ = std::move(text);
}

void Trace::endLine(std::string_view outcome) {
    if (!enabled() || !pending_) return;
    if (!outcome.empty()) {
        *pending_ += "  => ";
        *pending_ += outcome;
    }
    flushPending();
}

void Trace::diagnostic(std::string_view message, std::string_view sjisText) {
    if (!enabled()) return;
    notes_ += "  ! ";
    notes_ += message;
    notes_ += ": ";
    notes_ += cp932ToUtf8(sjisText);
    notes_ += '\n';
    if (!pending_) flushPending();
}

void Trace::note(std::string_view utf8) {
    if (!enabled()) return;
    notes_ += "  ! ";
    notes_ += utf8;
    notes_ += '\n';
    if (!pending_) flushPending();
}

void Trace::flushPending() {
    if (pending_) {
        out_ << *pending_ << '\n';
        pending_.reset();
    }
    out_ << notes_;
    notes_.clear();
    out_.flush();
}

} // namespace veskar
