#include "game_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>

#include "archive/script_loader.h"
#include "archive/script_source.h"
#include "core/diagnostics.h"
#include "core/numbers.h"
#include "core/random.h"
#include "core/sjis.h"
#include "graphics/scene_args.h"
#include "script/command_table.h"
#include "script/inline_tags.h"
#include "script/label_index.h"
#include "script/variables.h"
#include "shell/game_definition.h"

namespace vsktool {

namespace fs = std::filesystem;

std::string formatFinding(const Finding& f) {
    std::string out = f.file.string();
    if (f.line > 0) out += ":" + std::to_string(f.line) + ":" + std::to_string(f.column);
    out += f.error ? ": error: " : ": warning: ";
    out += f.message;
    return out;
}

namespace {

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr int kLastTransition = 22;
constexpr int kLastTextColour = 7;

std::vector<std::string_view> splitLines(std::string_view decoded) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < decoded.size()) {
        std::size_t end = decoded.find('\0', pos);
        if (end == std::string_view::npos) end = decoded.size();
        lines.push_back(decoded.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

// Characters before byte `at` of a CP932 line.
std::size_t columnOf(std::string_view line, std::size_t at) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < at && i < line.size(); ++column) {
        const auto b = static_cast<unsigned char>(line[i]);
        i += (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) ? 1 : 2;
    }
    return column;
}

std::string utf8(std::string_view cp932) { return veskar::cp932ToUtf8(cp932); }

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Runs the engine's own evaluator on `text`; true when it found nothing wrong.
template <typename Run>
bool evaluatesCleanly(Run run) {
    std::ostringstream sink;
    veskar::Diagnostics diagnostics(&sink);
    veskar::Random random;
    veskar::Variables vars(random, diagnostics);
    run(vars);
    return diagnostics.written() == 0;
}

struct ParsedScript {
    const GameSources::Script* source = nullptr;
    std::string decoded; // CP932 lines, each ended by NUL
    std::vector<std::string_view> lines;
    veskar::LabelIndex labels;
};

class Checker {
public:
    explicit Checker(const GameSources& sources) : sources_(sources) {}

    std::vector<Finding> run() {
        parsed_.reserve(sources_.scripts.size()); // the line views point into each script's text
        for (const auto& script : sources_.scripts) {
            auto decoded = veskar::encodeScriptLines(script.text);
            if (!decoded) continue; // reported while encoding
            auto& parsed = parsed_.emplace_back();
            parsed.source = &script;
            parsed.decoded = std::move(*decoded);
            parsed.lines = splitLines(parsed.decoded);
            parsed.labels.build(
                {reinterpret_cast<const std::uint8_t*>(parsed.decoded.data()), parsed.decoded.size()});
        }
        // A script of vk_data2 wins over one of the same name in vk_data.
        for (auto& parsed : parsed_)
            byName_[parsed.source->name] = &parsed;

        if (!byName_.contains("MAIN"))
            add(sources_.dataFolder / "main.txt", 0, 0, true,
                "the game has no script 'main' (main.txt), which it starts with");
        for (auto& parsed : parsed_) {
            current_ = &parsed;
            if (parsed.source->name == "_CONFIG") {
                checkDefinition(parsed);
                continue;
            }
            if (parsed.source->name.starts_with("_")) continue; // other definition scripts
            for (std::size_t i = 0; i < parsed.lines.size(); ++i) {
                lineNo_ = i + 1;
                lineText_ = parsed.lines[i];
                checkLine(lineText_, 0);
            }
        }
        warnUnused();
        return std::move(findings_);
    }

private:
    void add(const fs::path& file, std::size_t line, std::size_t column, bool error, std::string message) {
        findings_.push_back({file, line, column, error, std::move(message)});
    }
    // A finding on the current line at byte `at` of it.
    void here(std::size_t at, bool error, std::string message) {
        add(current_->source->file, lineNo_, columnOf(lineText_, at), error, std::move(message));
    }
    std::size_t at(std::string_view part) const {
        return static_cast<std::size_t>(part.data() - lineText_.data());
    }

    // `text` lies inside lineText_ (an `if` hands its target here).
    void checkLine(std::string_view text, int depth) {
        if (text.empty()) return;
        switch (text[0]) {
        case '!':
            checkAssignment(text.substr(1));
            return;
        case '*':
        case '@':
            if (depth < 4) checkCommand(text, depth);
            return;
        case ':':
            if (current_->source->name != "_CONFIG")
                labelsDefined_.push_back({current_, lineNo_, text.substr(1)});
            return;
        case ';':
        case '}':
        case '{':
        case '\\':
        case '~':
        case '+':
        case '=':
        case '>':
            return;
        default:
            checkText(text);
        }
    }

    void checkAssignment(std::string_view statement) {
        if (!evaluatesCleanly([&](veskar::Variables& v) { v.runAssignment(statement); }))
            here(at(statement), true, "assignment '" + utf8(statement) + "' does not parse");
    }

    void checkExpression(std::string_view expression) {
        if (!evaluatesCleanly([&](veskar::Variables& v) { v.evalExpression(expression); }))
            here(at(expression), true, "expression '" + utf8(expression) + "' does not parse");
    }

    void checkCondition(std::string_view condition) {
        if (!evaluatesCleanly([&](veskar::Variables& v) { v.evalCondition(condition); }))
            here(at(condition), true, "condition '" + utf8(condition) + "' does not parse");
    }

    void checkPicture(std::string_view name, std::string_view where) {
        if (name.empty() || name == "-" || name.starts_with('#')) return;
        const std::string key = veskar::upperAscii(name);
        named_.insert(key);
        if (!sources_.pictures.contains(key))
            here(at(name), true, "no picture archive holds '" + utf8(name) + "'");
        (void)where;
    }

    void checkSound(std::string_view name) {
        name = trimRight(name);
        if (name.empty()) return;
        if (!sources_.sounds.contains(veskar::upperAscii(name)))
            here(at(name), true, "no sound archive holds '" + utf8(name) + "'");
    }

    void checkTransition(int mode, std::string_view text) {
        if (mode < 0 || mode > kLastTransition)
            here(at(text), true,
                 "transition " + std::to_string(mode) + " is out of range 0-" +
                     std::to_string(kLastTransition));
    }

    void checkLabel(const ParsedScript& script, std::string_view label, std::string_view text) {
        label = trimRight(label);
        usedLabels_.insert({&script, veskar::upperAscii(label)});
        if (script.labels.findLabel(label) < 0)
            here(at(text), true,
                 "label '" + utf8(label) + "' does not exist in script '" +
                     script.source->file.stem().string() + "'");
    }

    // `chain` and `call`: a script name, then ":" and a label.
    void checkScriptTarget(std::string_view args) {
        if (args.starts_with('$')) return; // named by a string slot at run time
        const std::size_t end = args.find_first_of(" :");
        const std::string_view name = args.substr(0, end);
        const auto target = byName_.find(veskar::upperAscii(name));
        if (target == byName_.end()) {
            here(at(name), true, "script '" + utf8(name) + "' does not exist");
            return;
        }
        if (end != std::string_view::npos && args[end] == ':')
            checkLabel(*target->second, args.substr(end + 1), args.substr(end + 1));
    }

    void checkCommand(std::string_view text, int depth) {
        const auto index = veskar::matchCommand(text);
        if (!index) {
            const std::string_view word = text.substr(
                1, text.find(' ') == std::string_view::npos ? std::string_view::npos : text.find(' ') - 1);
            here(at(text) + 1, true, "unknown command '" + utf8(word) + "'");
            return;
        }
        const std::string_view keyword =
            trimRight(veskar::kCommandTable[static_cast<std::size_t>(*index)].keyword);
        const std::string_view args = veskar::commandArgs(*index, text);
        if (keyword == "go") {
            checkLabel(*current_, args, args);
        } else if (keyword == "chain" || keyword == "call") {
            checkScriptTarget(args);
        } else if (keyword == "if") {
            const std::size_t close = args.find(')');
            checkCondition(args.substr(0, close));
            if (close == std::string_view::npos) return;
            std::string_view target = args.substr(close + 1);
            while (!target.empty() && target[0] == ' ')
                target.remove_prefix(1);
            if (target.empty()) return;
            if (target[0] == '*' || target[0] == '@' || target[0] == '!')
                checkLine(target, depth + 1);
            else
                checkLabel(*current_, target, target);
        } else if (keyword == "cjmp") {
            if (!trimRight(args).empty()) checkExpression(args);
        } else if (keyword == "calc") {
            checkAssignment(args);
        } else if (keyword == "gra" || keyword == "grb" || keyword == "bg") {
            const auto picture = veskar::scanPictureArgs(args, keyword != "bg");
            if (!veskar::isColourName(picture.name))
                checkPicture(args.substr(0, picture.name.size()), keyword);
            if (picture.mode != -1) checkTransition(picture.mode, args);
        } else if (keyword == "spr") {
            checkSprites(args);
        } else if (keyword == "ovr") {
            const auto overlay = veskar::scanOverlayArgs(args);
            if (!veskar::equalsIgnoreAsciiCase(overlay.name, "off"))
                checkPicture(args.substr(0, overlay.name.size()), keyword);
            checkTransition(overlay.mode, args);
        } else if (keyword == "wipeset") {
            checkPicture(trimRight(args), keyword);
        } else if (keyword == "se" || keyword == "seloop" || keyword == "cv") {
            checkSound(args);
        } else if (keyword == "string") {
            if (args.size() < 2 || !isDigit(args[0]) || args[1] != ' ')
                here(at(text), true, "string takes a slot 0-9, a blank and the text");
        }
    }

    void checkSprites(std::string_view list) {
        std::vector<std::string_view> fields;
        for (std::size_t start = 0;;) {
            const std::size_t comma = list.find(',', start);
            fields.push_back(list.substr(start, comma == std::string_view::npos ? comma : comma - start));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        if (!fields.empty() && !fields.back().empty() && isDigit(fields.back()[0])) {
            checkTransition(veskar::readScriptNumber(fields.back()), fields.back());
            fields.pop_back();
        }
        for (const auto field : fields) {
            checkPicture(trimRight(field), "spr");
            spriteNames_.insert(veskar::upperAscii(trimRight(field)));
        }
    }

    void checkText(std::string_view text) {
        for (std::size_t i = 0; i < text.size();) {
            const auto b = static_cast<unsigned char>(text[i]);
            if (b != '[') {
                i += (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) ? 1 : 2;
                continue;
            }
            const std::size_t close = text.find(']', i);
            const std::string_view after = text.substr(i + 1);
            const auto tag = veskar::matchInlineTag(after);
            if (!tag) {
                const std::string_view name =
                    after.substr(0, std::min(after.find_first_of(" ]"), after.size()));
                here(i, true, "unknown tag '[" + utf8(name) + "'");
            } else {
                const std::size_t argsAt = i + veskar::kInlineTags[static_cast<std::size_t>(*tag)].argsAt;
                std::string_view args = argsAt < text.size() ? text.substr(argsAt) : std::string_view{};
                args = args.substr(0, std::min(args.find(']'), args.size()));
                if (*tag == veskar::kTagGra) {
                    const auto picture = veskar::scanPictureArgs(args, true);
                    if (!veskar::isColourName(picture.name))
                        checkPicture(args.substr(0, picture.name.size()), "gra");
                    if (picture.mode != -1) checkTransition(picture.mode, args);
                } else if (*tag == veskar::kTagCol) {
                    const int colour = veskar::readScriptNumber(args);
                    if (colour < 0 || colour > kLastTextColour)
                        here(at(args), true,
                             "text colour " + std::to_string(colour) + " is out of range 0-" +
                                 std::to_string(kLastTextColour));
                } else if (*tag == veskar::kTagValue) {
                    checkExpression(args);
                } else if (*tag == veskar::kTagCv) {
                    checkSound(args);
                } else if (*tag == veskar::kTagString) {
                    const int slot = veskar::readScriptNumber(args);
                    if (slot < 0 || slot > 9)
                        here(at(args), true, "string slot " + std::to_string(slot) + " is out of range 0-9");
                }
            }
            if (close == std::string_view::npos) return;
            i = close + 1;
        }
    }

    // --- the game definition ---

    void checkDefinition(const ParsedScript& parsed) {
        bool ended = false;
        std::size_t endLine = 0;
        for (std::size_t i = 0; i < parsed.lines.size(); ++i) {
            lineNo_ = i + 1;
            lineText_ = parsed.lines[i];
            const std::string_view line = lineText_;
            if (line.empty() || line[0] == ';' || line[0] == '*') continue;
            if (ended) {
                here(0, false, "line after END is not read");
                continue;
            }
            if (line == "END") {
                ended = true;
                endLine = lineNo_;
                continue;
            }
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos) {
                here(0, true, "not a KEY:VALUE line");
                continue;
            }
            const std::string_view key = line.substr(0, colon);
            if (!veskar::isGameDefinitionKey(key)) {
                here(0, true, "unknown key '" + utf8(key) + "'");
                continue;
            }
            const std::string upperKey = veskar::upperAscii(key);
            const std::string_view value = line.substr(colon + 1);
            const std::string one = std::string(line) + '\0';
            auto read = veskar::parseGameDefinition(one);
            if (!read) {
                const std::string& message = read.error().message; // "'TEXT' ..."
                const std::size_t quote = message.rfind('\'');
                const std::string offending = quote > 1 ? message.substr(1, quote - 1) : std::string();
                here(colon + 1, true, upperKey + ": '" + utf8(offending) + "' is not an integer");
                continue;
            }
            for (const auto& note : read->notes)
                here(colon + 1, true, note);
            if (upperKey == "NAME") checkSpeakerColour(value);
            if (upperKey.starts_with("TXW_COLOR_") || upperKey.starts_with("TXW_ALPHA")) {
                const auto n = veskar::parseWholeInteger(value);
                if (n && (*n < 0 || *n > 255))
                    here(colon + 1, true, upperKey + " " + std::to_string(*n) + " is out of range 0-255");
            }
        }
        auto whole = veskar::parseGameDefinition(parsed.decoded);
        if (whole) checkWindowLayout(parsed, *whole, endLine ? endLine : 1);
    }

    void checkSpeakerColour(std::string_view value) {
        const std::string_view colour = veskar::FieldOf(value, 2);
        bool good = colour.empty() || colour.size() == 3;
        for (const char c : colour) {
            const char u = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            good = good && (isDigit(u) || (u >= 'A' && u <= 'G'));
        }
        if (!good)
            here(at(colour), true,
                 "NAME colour '" + utf8(colour) + "': three characters R, G, B, each 0-9, A-F or G");
    }

    void checkWindowLayout(const ParsedScript& parsed, const veskar::GameDefinition& d, std::size_t line) {
        tachiType_ = d.TACHI_TYPE;
        const bool window = d.TXW_SIZE_X > 0 || d.TXW_SIZE_Y > 0 || sources_.pictures.contains("SYS_TW");
        if (!window) return;
        if (const auto size = sources_.pictureSizes.find("SYS_TW"); size != sources_.pictureSizes.end()) {
            const auto [w, h] = size->second;
            if (w != d.TXW_SIZE_X || h != 2 * d.TXW_SIZE_Y)
                add(sources_.pictureFiles.at("SYS_TW"), 0, 0, false,
                    "the window picture is " + std::to_string(w) + " x " + std::to_string(h) +
                        "; TXW_SIZE_X x " + "2*TXW_SIZE_Y is " + std::to_string(d.TXW_SIZE_X) + " x " +
                        std::to_string(2 * d.TXW_SIZE_Y));
        }
        const std::pair<const char*, int> needed[] = {
            {"TXW_SIZE_X", d.TXW_SIZE_X}, {"TXW_SIZE_Y", d.TXW_SIZE_Y}, {"TX_PITCH_X", d.TX_PITCH_X},
            {"TX_PITCH_Y", d.TX_PITCH_Y}, {"MOJI_MAX_X", d.MOJI_MAX_X}, {"MOJI_MAX_Y", d.MOJI_MAX_Y},
        };
        for (const auto& [key, value] : needed)
            if (value <= 0)
                add(parsed.source->file, line, 1, true,
                    std::string("the message window needs ") + key +
                        " (a number above 0); without it the text is drawn in one place");
    }

    // --- warnings ---

    void warnUnused() {
        // A sprite drawn as picture and mask side by side has an even width.
        if (tachiType_ == 1)
            for (const auto& name : spriteNames_)
                if (const auto size = sources_.pictureSizes.find(name);
                    size != sources_.pictureSizes.end() && size->second.first % 2 != 0)
                    add(sources_.pictureFiles.at(name), 0, 0, false,
                        "sprite picture is " + std::to_string(size->second.first) +
                            " pixels wide: picture and mask halves need an even width");
        for (const auto& label : labelsDefined_) {
            if (usedLabels_.contains({label.script, veskar::upperAscii(trimRight(label.name))})) continue;
            add(label.script->source->file, label.line, 1, false,
                "label '" + utf8(label.name) + "' is never used");
        }
        std::string allText;
        for (const auto& parsed : parsed_)
            allText += veskar::upperAscii(parsed.decoded);
        for (const auto& picture : sources_.pictures) {
            if (named_.contains(picture) || picture.starts_with("SYS_") || picture.starts_with("NP"))
                continue;
            // The mask of a sprite kept in two files: the sprite's name with M first.
            if (picture.starts_with("M") &&
                std::any_of(named_.begin(), named_.end(), [&](const std::string& n) {
                    return n.size() == picture.size() && n.substr(1) == picture.substr(1);
                }))
                continue;
            if (allText.find(picture) != std::string::npos) continue; // named some other way
            const auto file = sources_.pictureFiles.find(picture);
            const fs::path where = file != sources_.pictureFiles.end() ? file->second : sources_.dataFolder;
            add(where, 0, 0, false, "picture '" + where.stem().string() + "' is never shown");
        }
    }

    struct DefinedLabel {
        const ParsedScript* script;
        std::size_t line;
        std::string_view name;
    };

    const GameSources& sources_;
    std::vector<ParsedScript> parsed_;
    std::map<std::string, ParsedScript*> byName_;
    ParsedScript* current_ = nullptr;
    std::size_t lineNo_ = 0;
    std::string_view lineText_;
    std::vector<Finding> findings_;
    std::vector<DefinedLabel> labelsDefined_;
    std::set<std::pair<const ParsedScript*, std::string>> usedLabels_;
    std::set<std::string> named_;
    std::set<std::string> spriteNames_;
    int tachiType_ = 0;
};

} // namespace

std::vector<Finding> checkGame(const GameSources& sources) { return Checker(sources).run(); }

} // namespace vsktool
