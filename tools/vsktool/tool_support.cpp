#include "tool_support.h"

#include <charconv>
#include <iostream>

#include "core/sjis.h"

namespace vsktool {

int fail(std::string_view message) {
    std::cerr << "vsktool: " << message << "\n";
    return kFailure;
}

void note(std::string_view message) { std::cerr << "vsktool: " << message << "\n"; }

int usageError(std::string_view command, std::string_view message) {
    std::cerr << "vsktool " << command << ": " << message << "\n"
              << "Try 'vsktool " << command << " --help'.\n";
    return kUsageError;
}

bool wantsHelp(Args args) {
    for (const auto& arg : args)
        if (arg == "--help" || arg == "-h") return true;
    return false;
}

int printHelp(std::string_view text) {
    std::cout << text;
    return kOk;
}

std::optional<veskar::ArchiveLayout> parseLayout(std::string_view text) {
    if (text == "script") return veskar::ArchiveLayout::Script;
    if (text == "general") return veskar::ArchiveLayout::General;
    return std::nullopt;
}

veskar::ArchiveLayout layoutForFileName(const std::filesystem::path& path) {
    const std::string name = veskar::upperAscii(path.filename().string());
    return name.starts_with("VK_DATA") ? veskar::ArchiveLayout::Script : veskar::ArchiveLayout::General;
}

std::optional<std::uint32_t> parseCount(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::expected<std::string, std::string> entryNameForFile(const std::filesystem::path& path) {
    const std::string stem = path.stem().string();
    auto converted = veskar::utf8ToCp932(stem);
    if (!converted)
        return std::unexpected(path.string() + ": the file name cannot be written in CP932 (" +
                               converted.error().message + ")");
    return *converted;
}

std::expected<std::string, std::string> fileNameForEntry(std::string_view entryName) {
    const std::string name = veskar::cp932ToUtf8(entryName);
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return std::unexpected("entry '" + name + "' has a name that is not a plain file name");
    return name;
}

std::string shown(std::string_view cp932) { return veskar::cp932ToUtf8(cp932); }

} // namespace vsktool
