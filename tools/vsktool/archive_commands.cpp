// vsktool pack, list and extract: archives as plain containers of named entries.

#include <iostream>
#include <set>
#include <vector>

#include "archive/archive_writer.h"
#include "core/files.h"
#include "core/sjis.h"
#include "tool_support.h"

namespace vsktool {

namespace fs = std::filesystem;
using veskar::ArchiveLayout;

namespace {

constexpr std::string_view kPackHelp =
    "Usage: vsktool pack --layout script|general [--name-length L] OUT.vsk FILE...\n"
    "\n"
    "Packs the FILEs into the archive OUT.vsk, in the order given. Each entry is\n"
    "named after its file, without folder and extension (scenes/Main.txt -> Main),\n"
    "converted to CP932; its bytes are stored unchanged (encode scripts with\n"
    "'vsktool script encode' first). Two files of one name are both kept; the\n"
    "engine finds the first.\n"
    "\n"
    "  --layout script    16-byte name fields (names up to 15 bytes): vk_data.vsk,\n"
    "                     vk_data2.vsk\n"
    "  --layout general   name fields of L bytes (names up to L-1 bytes): every\n"
    "                     other archive\n"
    "  --name-length L    L for the general layout, 1 to 1024 (default 32)\n";

constexpr std::string_view kListHelp =
    "Usage: vsktool list [--layout script|general] ARCHIVE\n"
    "\n"
    "Prints every entry of ARCHIVE as 'NAME<TAB>OFFSET<TAB>SIZE', one per line, in\n"
    "file order, names as stored. A damaged index is reported on stderr, the\n"
    "entries that can be trusted are still listed, and the exit code is 1.\n"
    "\n"
    "  --layout   the index layout; by default 'script' for vk_data*.vsk and\n"
    "             'general' for every other file name\n";

constexpr std::string_view kExtractHelp =
    "Usage: vsktool extract [--layout script|general] ARCHIVE [NAME...] [-o DIR]\n"
    "\n"
    "Writes entries of ARCHIVE as files named after them (no extension) into DIR\n"
    "(default: the current folder), bytes unchanged (use 'vsktool script decode'\n"
    "on scripts). Without NAMEs every entry is written; NAMEs are matched without\n"
    "regard to a-z case. When a name occurs twice only the first entry, the one\n"
    "the engine uses, is written.\n"
    "\n"
    "  -o DIR     output folder, created when missing\n"
    "  --layout   the index layout; by default 'script' for vk_data*.vsk and\n"
    "             'general' for every other file name\n";

// Reads ARCHIVE's index with stored names, reporting problems; nullopt when unreadable.
std::optional<veskar::IndexParseResult> readIndexForTool(const fs::path& path, ArchiveLayout layout) {
    auto parsed = veskar::readArchiveIndex(path, layout, veskar::NameCase::AsStored);
    if (!parsed) {
        fail(parsed.error());
        return std::nullopt;
    }
    if (!parsed->problems.empty()) note(veskar::describeIndexProblems(path, parsed->problems));
    parsed->index.path = path;
    return std::move(*parsed);
}

} // namespace

int runPack(Args args) {
    if (wantsHelp(args)) return printHelp(kPackHelp);
    std::optional<ArchiveLayout> layout;
    std::optional<std::uint32_t> nameLength;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--layout" || arg == "--name-length") {
            if (i + 1 >= args.size()) return usageError("pack", arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--layout") {
                layout = parseLayout(value);
                if (!layout)
                    return usageError("pack", "--layout must be 'script' or 'general', not '" + value + "'");
            } else {
                nameLength = parseCount(value);
                if (!nameLength || *nameLength == 0 || *nameLength > veskar::kMaxGeneralNameField)
                    return usageError("pack",
                                      "--name-length must be a number from 1 to 1024, not '" + value + "'");
            }
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return usageError("pack", "unknown option '" + arg + "'");
        } else {
            positional.push_back(arg);
        }
    }
    if (!layout) return usageError("pack", "--layout script|general is required");
    if (nameLength && *layout == ArchiveLayout::Script)
        return usageError("pack", "--name-length applies to the general layout only");
    if (positional.empty()) return usageError("pack", "missing OUT.vsk");

    std::vector<veskar::ArchiveEntry> entries;
    for (std::size_t i = 1; i < positional.size(); ++i) {
        const fs::path file = positional[i];
        auto name = entryNameForFile(file);
        if (!name) return fail(name.error());
        const std::uint32_t field = nameLength.value_or(veskar::kDefaultGeneralNameField);
        if (auto problem = veskar::checkEntryName(*name, *layout, field); !problem.empty())
            return fail(file.string() + ": " + problem);
        auto bytes = veskar::readWholeFile(file);
        if (!bytes) return fail(bytes.error());
        entries.push_back({std::move(*name), std::move(*bytes)});
    }
    const fs::path out = positional[0];
    if (auto written = veskar::writeArchive(out, *layout, entries,
                                            nameLength.value_or(veskar::kDefaultGeneralNameField));
        !written)
        return fail(out.string() + ": " + written.error());
    return kOk;
}

int runList(Args args) {
    if (wantsHelp(args)) return printHelp(kListHelp);
    std::optional<ArchiveLayout> layout;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--layout") {
            if (i + 1 >= args.size()) return usageError("list", "--layout needs a value");
            layout = parseLayout(args[++i]);
            if (!layout) return usageError("list", "--layout must be 'script' or 'general'");
        } else if (args[i].starts_with("-") && args[i].size() > 1) {
            return usageError("list", "unknown option '" + args[i] + "'");
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 1) return usageError("list", "give exactly one ARCHIVE");
    const fs::path path = positional[0];
    const auto parsed = readIndexForTool(path, layout.value_or(layoutForFileName(path)));
    if (!parsed) return kFailure;
    const auto& index = parsed->index;
    for (std::size_t i = 0; i < index.count(); ++i)
        std::cout << shown(index.names[i]) << '\t' << index.offsets[i] << '\t' << index.sizes[i] << '\n';
    return parsed->problems.empty() ? kOk : kFailure;
}

int runExtract(Args args) {
    if (wantsHelp(args)) return printHelp(kExtractHelp);
    std::optional<ArchiveLayout> layout;
    fs::path outDir = ".";
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--layout" || args[i] == "-o") {
            if (i + 1 >= args.size()) return usageError("extract", args[i] + " needs a value");
            const std::string& value = args[++i];
            if (args[i - 1] == "-o") {
                outDir = value;
            } else {
                layout = parseLayout(value);
                if (!layout) return usageError("extract", "--layout must be 'script' or 'general'");
            }
        } else if (args[i].starts_with("-") && args[i].size() > 1) {
            return usageError("extract", "unknown option '" + args[i] + "'");
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.empty()) return usageError("extract", "missing ARCHIVE");
    const fs::path path = positional[0];
    const auto parsed = readIndexForTool(path, layout.value_or(layoutForFileName(path)));
    if (!parsed) return kFailure;
    const auto& index = parsed->index;
    bool failed = !parsed->problems.empty();

    // Which entries: the first of every name, or the first match of each NAME asked for.
    std::vector<std::size_t> chosen;
    if (positional.size() == 1) {
        std::set<std::string> seen;
        for (std::size_t i = 0; i < index.count(); ++i) {
            if (seen.insert(veskar::upperAscii(index.names[i])).second)
                chosen.push_back(i);
            else
                note("entry " + std::to_string(i) + " '" + shown(index.names[i]) +
                     "' repeats an earlier name; not written (the engine uses the first)");
        }
    } else {
        for (std::size_t p = 1; p < positional.size(); ++p) {
            auto wanted = veskar::utf8ToCp932(positional[p]);
            const int at = wanted ? index.find(*wanted) : -1;
            if (at < 0) {
                failed = true;
                note(path.string() + " has no entry named '" + positional[p] + "'");
                continue;
            }
            chosen.push_back(static_cast<std::size_t>(at));
        }
    }

    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec) return fail("cannot create " + outDir.string() + ": " + ec.message());
    for (std::size_t i : chosen) {
        auto fileName = fileNameForEntry(index.names[i]);
        if (!fileName) {
            failed = true;
            note(fileName.error() + "; not written");
            continue;
        }
        auto bytes = veskar::readFileRange(path, index.offsets[i], index.sizes[i]);
        if (!bytes) return fail(bytes.error());
        if (auto written = veskar::writeFileAtomically(outDir / *fileName, *bytes); !written)
            return fail(written.error());
    }
    return failed ? kFailure : kOk;
}

} // namespace vsktool
