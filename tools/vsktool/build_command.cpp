// vsktool build: a game folder from a source tree.
//
// Source layout (SOURCE_DIR):
//
//   vk_data/     the scripts: every NAME.txt (UTF-8, LF or CRLF) becomes the
//                entry NAME of vk_data.vsk, encoded as the engine stores
//                scripts. _config.txt is the game definition; main.txt the
//                first script. Names hold at most 15 bytes in CP932.
//   vk_data2/    the same for vk_data2.vsk, whose scripts win over vk_data's.
//   vk_gra/ vk_gra2/ vk_gra3/
//                pictures: every .png or .bmp becomes a packed picture; other
//                files are stored as they are (packed pictures already).
//   vk_gjp/      JPEG pictures, stored as they are.
//   vk_wav1/ ... vk_wav5/ vk_se0/ vk_se1/ vk_se2/
//                sounds: every .wav is encoded as a one-shot WADY sound.
//   vk_bgm/      music: every .wav is encoded as a stream WADY sound that
//                loops from the start, or from the frame written in a file
//                NAME.loop beside it.
//   vk_ogg1/ vk_ogg2/ vk_ogg3/ vk_anim/ vk_anim2/
//                every file becomes the entry named after it (without its
//                extension) of the archive of the same name, bytes unchanged
//                (so voices go in as Ogg Vorbis files); in the sound folders
//                above, files that are not .wav are stored unchanged too.
//   All of these use the general layout with 32-byte name fields (names up
//   to 31 bytes).
//   anything else (panic.bmp, movies, folders of them) is copied unchanged.
//
// Archive folders are matched without regard to a-z case and hold files only;
// files are packed in the order of their names; names starting with '.' are
// skipped everywhere. Every archive is rebuilt on every run, and nothing in
// OUT_DIR is deleted.

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "archive/archive_writer.h"
#include "archive/archives.h"
#include "archive/script_source.h"
#include "core/files.h"
#include "core/sjis.h"
#include "game_check.h"
#include "graphics/packed_picture.h"
#include "picture_files.h"
#include "shell/game_definition.h"
#include "sound_files.h"
#include "tool_support.h"

namespace vsktool {

namespace fs = std::filesystem;
using veskar::ArchiveSet;

namespace {

constexpr std::string_view kBuildHelp =
    "Usage: vsktool build [--strict] SOURCE_DIR OUT_DIR\n"
    "\n"
    "Builds a game folder OUT_DIR (created when missing) from SOURCE_DIR:\n"
    "\n"
    "  vk_data/*.txt     scripts (UTF-8) -> vk_data.vsk, encoded; _config.txt is\n"
    "                    the game definition and is checked, main.txt starts the game\n"
    "  vk_data2/*.txt    -> vk_data2.vsk, scripts that win over vk_data's\n"
    "  vk_gra/, vk_gra2/, vk_gra3/\n"
    "                    pictures: *.png and *.bmp (24-bit) are encoded as packed\n"
    "                    pictures; other files are stored unchanged\n"
    "  vk_gjp/           JPEG pictures (*.jpg), stored unchanged\n"
    "  vk_se0/ ... vk_se2/, vk_wav1/ ... vk_wav5/\n"
    "                    sounds: *.wav (16-bit PCM) are encoded as one-shot WADY\n"
    "  vk_bgm/           music: *.wav are encoded as stream WADY looping from the\n"
    "                    start, or from the frame given in NAME.loop\n"
    "  vk_ogg1/ ... vk_ogg3/ (Ogg Vorbis voices), vk_anim/, vk_anim2/\n"
    "                    every file -> an entry of the archive of that name, bytes\n"
    "                    unchanged\n"
    "  Entries are named after their files without extension.\n"
    "  anything else     copied unchanged (panic.bmp, movies ...)\n"
    "\n"
    "Before anything is written the game is checked: unknown commands and tags,\n"
    "labels and scripts that go, call, chain and if name but that do not exist,\n"
    "pictures and sounds no archive holds, expressions that do not parse, numbers\n"
    "out of range, unknown or malformed _config lines, a message window without its\n"
    "layout keys, a missing main script. Each is reported as FILE:LINE:COLUMN:\n"
    "error: ... (or warning: ...). Errors stop the build (exit 1, nothing written);\n"
    "warnings (a label never used, a picture never shown) do not.\n"
    "\n"
    "  --strict          warnings count as errors\n"
    "\n"
    "Every archive is rebuilt on every run; nothing in OUT_DIR is deleted. Progress\n"
    "goes to stderr.\n";

struct ArchiveFolder {
    ArchiveSet set;
    std::string fileName; // vk_gra2.vsk
};

// Folder name (upper-cased) to the archive it builds.
std::map<std::string, ArchiveFolder> archiveFolders() {
    std::map<std::string, ArchiveFolder> folders;
    for (int s = 0; s < veskar::kArchiveSetCount; ++s) {
        const auto set = static_cast<ArchiveSet>(s);
        for (int slot : veskar::Archives::slotsOf(set)) {
            const std::string file = veskar::Archives::slotFileName(set, slot);
            folders.emplace(veskar::upperAscii(fs::path(file).stem().string()), ArchiveFolder{set, file});
        }
    }
    return folders;
}

// fail() for functions that answer whether they succeeded.
bool failed(std::string_view message) {
    fail(message);
    return false;
}

bool isHidden(const fs::path& path) { return path.filename().string().starts_with("."); }

std::vector<fs::path> sortedChildren(const fs::path& dir, std::error_code& ec) {
    std::vector<fs::path> children;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (!isHidden(it->path())) children.push_back(it->path());
    std::sort(children.begin(), children.end());
    return children;
}

std::string_view textOf(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

struct PreparedArchive {
    fs::path folder;
    const ArchiveFolder* target = nullptr;
    std::vector<veskar::ArchiveEntry> entries;
};

// Notes what the checks need to know about an archive's entries.
void recordEntries(const ArchiveFolder& target, const fs::path& folder,
                   const std::vector<std::pair<fs::path, std::string>>& named,
                   const std::vector<std::string>& scriptTexts, GameSources& sources) {
    for (std::size_t i = 0; i < named.size(); ++i) {
        const std::string key = veskar::upperAscii(named[i].second);
        switch (target.set) {
        case ArchiveSet::Scripts:
        case ArchiveSet::ScriptOverrides:
            if (target.set == ArchiveSet::Scripts) sources.dataFolder = folder;
            sources.scripts.push_back({named[i].first, key, scriptTexts[i]});
            break;
        case ArchiveSet::Pictures:
        case ArchiveSet::JpegPictures:
            sources.pictures.insert(key);
            sources.pictureFiles[key] = named[i].first;
            break;
        case ArchiveSet::Animations:
        case ArchiveSet::Animations2:
            sources.animations.insert(key);
            break;
        default:
            sources.sounds.insert(key);
            break;
        }
    }
}

// One archive's entries from one source folder; false after reporting the failure.
bool prepareArchive(const fs::path& folder, const ArchiveFolder& target, PreparedArchive& prepared,
                    GameSources& sources) {
    const bool scripts = target.set == ArchiveSet::Scripts || target.set == ArchiveSet::ScriptOverrides;
    const auto layout = scripts ? veskar::ArchiveLayout::Script : veskar::ArchiveLayout::General;
    std::error_code ec;
    const auto files = sortedChildren(folder, ec);
    if (ec) return failed("cannot read " + folder.string() + ": " + ec.message());

    // Names first, so that a clash is reported before any file is converted.
    std::vector<std::pair<fs::path, std::string>> named;
    std::map<std::string, fs::path> taken; // upper-cased name -> the file that has it
    const bool sounds = target.set == ArchiveSet::SoundEffects || target.set == ArchiveSet::WaveSounds ||
                        target.set == ArchiveSet::Music;
    const bool music = target.set == ArchiveSet::Music;
    for (const fs::path& file : files) {
        // A music piece's loop frame, read with the piece.
        if (music && veskar::upperAscii(file.extension().string()) == ".LOOP") continue;
        if (!fs::is_regular_file(file, ec))
            return failed(file.string() + ": archive folders hold files only");
        if (scripts && veskar::upperAscii(file.extension().string()) != ".TXT")
            return failed(file.string() + ": script folders hold .txt files only");
        auto name = entryNameForFile(file);
        if (!name) return failed(name.error());
        if (auto problem = veskar::checkEntryName(*name, layout); !problem.empty())
            return failed(file.string() + ": " + problem);
        const auto [other, fresh] = taken.emplace(veskar::upperAscii(*name), file);
        if (!fresh)
            return failed(file.string() + " and " + other->second.string() + " give the same entry name '" +
                          shown(*name) + "'");
        named.emplace_back(file, std::move(*name));
    }

    std::vector<veskar::ArchiveEntry> entries;
    std::vector<std::string> scriptTexts;
    for (auto& [file, name] : named) {
        auto bytes = veskar::readWholeFile(file);
        if (!bytes) return failed(bytes.error());
        if (scripts) {
            scriptTexts.emplace_back(textOf(*bytes));
            auto encoded = veskar::encodeScriptSource(textOf(*bytes));
            if (!encoded) {
                const auto& e = encoded.error();
                return failed(file.string() + ":" + std::to_string(e.line) + ":" + std::to_string(e.column) +
                              ": " + e.message);
            }
            bytes = std::move(*encoded);
        } else if (target.set == ArchiveSet::Pictures && isSourcePicture(file)) {
            std::string converted;
            auto picture = readSourcePicture(file, true, &converted);
            if (!picture) return failed(picture.error());
            if (!converted.empty()) note(file.string() + ": " + converted);
            sources.pictureSizes[veskar::upperAscii(name)] = {picture->width(), picture->height()};
            auto packed = veskar::EncodePackedPicture(*picture);
            if (!packed) return failed(file.string() + ": " + packed.error());
            bytes = std::move(*packed);
        } else if (sounds && veskar::upperAscii(file.extension().string()) == ".WAV") {
            std::uint32_t loop = 0;
            fs::path loopFile = file;
            loopFile.replace_extension(".loop");
            if (music && fs::exists(loopFile, ec)) {
                auto text = veskar::readWholeFile(loopFile);
                if (!text) return failed(text.error());
                std::string number(textOf(*text));
                while (!number.empty() &&
                       (number.back() == '\n' || number.back() == '\r' || number.back() == ' '))
                    number.pop_back();
                auto n = parseCount(number);
                if (!n) return failed(loopFile.string() + ": not a frame number");
                loop = *n;
            }
            auto encoded = encodeWavFile(file, music, loop);
            if (!encoded) return failed(encoded.error());
            note("encoding " + file.string() + ": " + encoded->description);
            bytes = std::move(encoded->bytes);
        }
        entries.push_back({name, std::move(*bytes)});
    }
    recordEntries(target, folder, named, scriptTexts, sources);
    prepared = {folder, &target, std::move(entries)};
    return true;
}

bool writePrepared(const PreparedArchive& prepared, const fs::path& outDir) {
    const ArchiveSet set = prepared.target->set;
    const bool scripts = set == ArchiveSet::Scripts || set == ArchiveSet::ScriptOverrides;
    const auto layout = scripts ? veskar::ArchiveLayout::Script : veskar::ArchiveLayout::General;
    const fs::path out = outDir / prepared.target->fileName;
    note("writing " + out.string() + " (" + std::to_string(prepared.entries.size()) + " entries from " +
         prepared.folder.string() + ")");
    if (auto written = veskar::writeArchive(out, layout, prepared.entries); !written)
        return failed(out.string() + ": " + written.error());
    return true;
}

} // namespace

int runBuild(Args args) {
    if (wantsHelp(args)) return printHelp(kBuildHelp);
    bool strict = false;
    std::vector<std::string> paths;
    for (const auto& arg : args) {
        if (arg == "--strict")
            strict = true;
        else if (arg.starts_with("-") && arg.size() > 1)
            return usageError("build", "unknown option '" + arg + "'");
        else
            paths.push_back(arg);
    }
    if (paths.size() != 2) return usageError("build", "give SOURCE_DIR and OUT_DIR");
    const fs::path source = paths[0];
    const fs::path outDir = paths[1];

    std::error_code ec;
    if (!fs::is_directory(source, ec)) return fail(source.string() + " is not a folder");
    fs::create_directories(outDir, ec);
    if (ec) return fail("cannot create " + outDir.string() + ": " + ec.message());

    const auto folders = archiveFolders();
    const auto children = sortedChildren(source, ec);
    if (ec) return fail("cannot read " + source.string() + ": " + ec.message());

    // Everything is read and converted first, then checked; only a game
    // without errors is written.
    GameSources sources;
    sources.dataFolder = source / "vk_data";
    std::vector<PreparedArchive> prepared;
    std::vector<fs::path> copies;
    for (const fs::path& child : children) {
        const std::string name = child.filename().string();
        const auto archive =
            fs::is_directory(child, ec) ? folders.find(veskar::upperAscii(name)) : folders.end();
        if (archive != folders.end()) {
            if (fs::exists(source / archive->second.fileName, ec))
                return fail("both " + child.string() + " and " +
                            (source / archive->second.fileName).string() + " would make " +
                            archive->second.fileName);
            if (!prepareArchive(child, archive->second, prepared.emplace_back(), sources)) return kFailure;
            continue;
        }
        copies.push_back(child);
    }

    const auto findings = checkGame(sources);
    int errors = 0, warnings = 0;
    for (const auto& finding : findings) {
        note(formatFinding(finding));
        (finding.error ? errors : warnings) += 1;
    }
    if (errors > 0 || (strict && warnings > 0)) {
        return fail(std::to_string(errors) + " error(s), " + std::to_string(warnings) + " warning(s)" +
                    (strict && warnings > 0 ? " (--strict: warnings count as errors)" : "") +
                    "; nothing written");
    }

    for (const auto& archive : prepared)
        if (!writePrepared(archive, outDir)) return kFailure;
    for (const fs::path& child : copies) {
        const std::string name = child.filename().string();
        note("copying " + child.string());
        fs::copy(child, outDir / name, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
                 ec);
        if (ec) return fail("cannot copy " + child.string() + ": " + ec.message());
    }

    // A game folder the engine would refuse is worth a word, not a failure:
    // pictures may come from a disc folder, and a tree may be built in parts.
    if (!fs::exists(outDir / "vk_data.vsk", ec))
        note("warning: " + outDir.string() + " has no vk_data.vsk: the engine will not start this game");
    else if (!fs::exists(outDir / "vk_gra.vsk", ec))
        note("warning: " + outDir.string() +
             " has no vk_gra.vsk: the engine starts this game only when its disc folder holds one");
    return kOk;
}

} // namespace vsktool
