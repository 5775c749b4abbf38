#include "backends/headless/ini_settings_store.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "core/files.h"
#include "core/sjis.h"

namespace veskar {

IniSettingsStore::IniSettingsStore(std::optional<std::filesystem::path> path) : path_(std::move(path)) {
    if (path_) load();
}

std::string IniSettingsStore::sectionName(std::string_view keyPath, std::string_view section) {
    std::string name = cp932ToUtf8(keyPath);
    if (!section.empty()) {
        if (!name.empty()) name += '\\';
        name += cp932ToUtf8(section);
    }
    return name;
}

std::optional<std::string> IniSettingsStore::read(std::string_view keyPath, std::string_view section,
                                                  std::string_view name) {
    const auto s = values_.find(sectionName(keyPath, section));
    if (s == values_.end()) return std::nullopt;
    const auto v = s->second.find(cp932ToUtf8(name));
    if (v == s->second.end()) return std::nullopt;
    auto converted = utf8ToCp932(v->second);
    if (!converted) return std::nullopt;
    return *converted;
}

void IniSettingsStore::write(std::string_view keyPath, std::string_view section, std::string_view name,
                             std::string_view value) {
    values_[sectionName(keyPath, section)][cp932ToUtf8(name)] = cp932ToUtf8(value);
    if (path_) save();
}

void IniSettingsStore::load() {
    std::ifstream in(*path_);
    if (!in) return; // a new file is created by the first write
    std::string line, current;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            std::cerr << "veskar: " << path_->string() << ":" << lineNumber
                      << ": ignoring a line without '='\n";
            continue;
        }
        values_[current][line.substr(0, eq)] = line.substr(eq + 1);
    }
}

void IniSettingsStore::save() {
    std::ostringstream out;
    for (const auto& [section, entries] : values_) {
        out << '[' << section << "]\n";
        for (const auto& [name, value] : entries)
            out << name << '=' << value << '\n';
        out << '\n';
    }
    const std::string text = out.str();
    auto written = writeFileAtomically(
        *path_, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!written) std::cerr << "veskar: settings not saved: " << written.error() << '\n';
}

} // namespace veskar
