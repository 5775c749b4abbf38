#include "backends/headless/input_script.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "platform/keys.h"

namespace veskar {

namespace {

std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> out;
    std::istringstream in{std::string(line)};
    std::string w;
    while (in >> w)
        out.push_back(w);
    return out;
}

bool toInt(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

int keyCode(const std::string& name) {
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        return -1;
    }
    const std::string n = lower(name);
    static const std::pair<const char*, int> table[] = {
        {"ctrl", keys::Control},  {"control", keys::Control},   {"shift", keys::Shift},
        {"return", keys::Return}, {"enter", keys::Return},      {"space", keys::Space},
        {"escape", keys::Escape}, {"esc", keys::Escape},        {"backspace", keys::Backspace},
        {"tab", keys::Tab},       {"delete", keys::Delete},     {"up", keys::Up},
        {"down", keys::Down},     {"left", keys::Left},         {"right", keys::Right},
        {"pageup", keys::PageUp}, {"pagedown", keys::PageDown}, {"home", keys::Home},
        {"end", keys::End},
    };
    for (const auto& [text, code] : table)
        if (n == text) return code;
    if (n.size() >= 2 && n[0] == 'f') {
        long long f = 0;
        if (toInt(n.substr(1), f) && f >= 1 && f <= 12) return keys::F1 + static_cast<int>(f) - 1;
    }
    return -1;
}

bool toButton(const std::string& name, MouseButton& button) {
    const std::string n = lower(name);
    if (n == "left")
        button = MouseButton::Left;
    else if (n == "right")
        button = MouseButton::Right;
    else if (n == "middle")
        button = MouseButton::Middle;
    else
        return false;
    return true;
}

} // namespace

std::expected<InputScript, std::string> parseInputScript(std::string_view text) {
    InputScript script;
    std::istringstream in{std::string(text)};
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const auto hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        const auto w = words(line);
        if (w.empty()) continue;
        const auto fail = [&](const std::string& why) {
            return std::unexpected("line " + std::to_string(lineNumber) + ": " + why);
        };
        if (lower(w[0]) == "answer") {
            if (w.size() != 2) return fail("'answer' takes one word: ok, cancel, yes or no");
            const std::string a = lower(w[1]);
            if (a == "ok")
                script.answers.push_back(MessageAnswer::Ok);
            else if (a == "cancel")
                script.answers.push_back(MessageAnswer::Cancel);
            else if (a == "yes")
                script.answers.push_back(MessageAnswer::Yes);
            else if (a == "no")
                script.answers.push_back(MessageAnswer::No);
            else
                return fail("unknown answer '" + w[1] + "' (ok, cancel, yes or no)");
            continue;
        }
        long long time = 0;
        if (!toInt(w[0], time) || time < 0 || time > 0x7FFFFFFF)
            return fail("expected a time in milliseconds or 'answer', found '" + w[0] + "'");
        if (w.size() < 2) return fail("missing event after the time");
        InputEvent e;
        e.time = static_cast<std::uint32_t>(time);
        const std::string kind = lower(w[1]);
        const auto position = [&](std::size_t at) -> bool {
            long long x = 0, y = 0;
            if (w.size() != at + 2 || !toInt(w[at], x) || !toInt(w[at + 1], y)) return false;
            e.position = {static_cast<int>(x), static_cast<int>(y)};
            return true;
        };
        if (kind == "click" || kind == "press" || kind == "release") {
            if (w.size() < 3 || !toButton(w[2], e.button))
                return fail("expected a button: left, right or middle");
            if (!position(3)) return fail("expected x and y after the button");
            if (kind == "release") {
                e.kind = InputEvent::Kind::Release;
            } else {
                e.kind = InputEvent::Kind::Press;
                if (kind == "click") {
                    script.events.push_back(e);
                    e.kind = InputEvent::Kind::Release;
                }
            }
        } else if (kind == "move") {
            e.kind = InputEvent::Kind::Move;
            if (!position(2)) return fail("expected x and y after 'move'");
        } else if (kind == "key") {
            if (w.size() != 4) return fail("expected 'key down NAME' or 'key up NAME'");
            const std::string dir = lower(w[2]);
            if (dir == "down")
                e.kind = InputEvent::Kind::KeyDown;
            else if (dir == "up")
                e.kind = InputEvent::Kind::KeyUp;
            else
                return fail("expected 'down' or 'up' after 'key'");
            e.key = keyCode(w[3]);
            if (e.key < 0) return fail("unknown key '" + w[3] + "'");
        } else if (kind == "wheel") {
            long long delta = 0;
            if (w.size() < 3 || !toInt(w[2], delta)) return fail("expected a wheel delta");
            e.kind = InputEvent::Kind::Wheel;
            e.delta = static_cast<int>(delta);
            if (!position(3)) return fail("expected x and y after the wheel delta");
        } else if (kind == "close") {
            if (w.size() != 2) return fail("'close' takes nothing more");
            e.kind = InputEvent::Kind::Close;
        } else {
            return fail("unknown event '" + w[1] + "'");
        }
        script.events.push_back(e);
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.time < b.time; });
    return script;
}

} // namespace veskar
