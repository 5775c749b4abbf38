// vsktool script encode|decode: scripts between the UTF-8 text authors write
// and the negated CP932 lines the script archives store.

#include <string>
#include <vector>

#include "archive/script_source.h"
#include "core/files.h"
#include "tool_support.h"

namespace vsktool {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kScriptHelp =
    "Usage: vsktool script encode IN.txt OUT\n"
    "       vsktool script decode IN OUT.txt\n"
    "\n"
    "encode  reads UTF-8 text (LF or CRLF line ends; a byte-order mark is dropped)\n"
    "        and writes the stored form of a script: every line in CP932, ended\n"
    "        by one NUL byte, every byte negated. A character CP932 cannot hold is\n"
    "        an error naming the file, line and column.\n"
    "decode  the reverse: writes UTF-8 text with an LF after every line. Bytes\n"
    "        that are not CP932 are written as U+FFFD and reported.\n"
    "\n"
    "Pack the encoded files with 'vsktool pack --layout script', or let\n"
    "'vsktool build' do both.\n";

std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

int encode(const fs::path& in, const fs::path& out) {
    auto text = veskar::readWholeFile(in);
    if (!text) return fail(text.error());
    auto encoded = veskar::encodeScriptSource({reinterpret_cast<const char*>(text->data()), text->size()});
    if (!encoded) {
        const auto& e = encoded.error();
        return fail(in.string() + ":" + std::to_string(e.line) + ":" + std::to_string(e.column) + ": " +
                    e.message);
    }
    if (auto written = veskar::writeFileAtomically(out, *encoded); !written) return fail(written.error());
    return kOk;
}

int decode(const fs::path& in, const fs::path& out) {
    auto stored = veskar::readWholeFile(in);
    if (!stored) return fail(stored.error());
    const auto decoded = veskar::decodeScriptSource(*stored);
    for (const auto& problem : decoded.problems)
        note("warning: " + in.string() + ": " + problem);
    if (auto written = veskar::writeFileAtomically(out, bytesOf(decoded.text)); !written)
        return fail(written.error());
    return kOk;
}

} // namespace

int runScript(Args args) {
    if (wantsHelp(args)) return printHelp(kScriptHelp);
    if (args.empty()) return usageError("script", "missing 'encode' or 'decode'");
    const std::string& action = args[0];
    if (action != "encode" && action != "decode")
        return usageError("script", "unknown action '" + action + "' (want 'encode' or 'decode')");
    if (args.size() != 3) return usageError("script", action + " takes an input and an output file");
    for (std::size_t i = 1; i < 3; ++i)
        if (args[i].starts_with("-") && args[i].size() > 1)
            return usageError("script", "unknown option '" + args[i] + "'");
    return action == "encode" ? encode(args[1], args[2]) : decode(args[1], args[2]);
}

} // namespace vsktool
