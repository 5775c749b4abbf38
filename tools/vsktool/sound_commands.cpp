// vsktool sound encode|decode: WAV files to and from the engine's WADY sounds.

#include "core/files.h"
#include "sound_files.h"
#include "tool_support.h"

namespace vsktool {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSoundHelp =
    "Usage: vsktool sound encode IN.wav OUT [--stream] [--loop FRAME]\n"
    "       vsktool sound decode IN OUT.wav\n"
    "\n"
    "encode  reads a 16-bit PCM WAV (mono or stereo) and writes a WADY sound:\n"
    "        the one-shot variant of vk_se*.vsk and vk_wav*.vsk, or with --stream\n"
    "        the stream variant of vk_bgm.vsk, in quarters of one second, which\n"
    "        after its end goes on from frame FRAME (default 0, the start).\n"
    "decode  reads a WADY sound of either variant and writes it as a WAV (a\n"
    "        stream once through, without its loop).\n"
    "Each prints what it wrote: format, length and loop.\n"
    "\n"
    "'vsktool build' encodes the .wav files of vk_se*/, vk_wav*/ and vk_bgm/ itself.\n";

} // namespace

int runSound(Args args) {
    if (wantsHelp(args) || args.empty()) return printHelp(kSoundHelp);
    const std::string& verb = args[0];
    if (verb == "encode") {
        bool stream = false;
        std::uint32_t loop = 0;
        std::vector<std::string> files;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--stream") {
                stream = true;
            } else if (args[i] == "--loop") {
                if (i + 1 >= args.size()) return usageError("sound", "--loop needs a frame number");
                auto n = parseCount(args[++i]);
                if (!n) return usageError("sound", "--loop needs a frame number");
                loop = *n;
                stream = true;
            } else if (args[i].starts_with("-")) {
                return usageError("sound", "unknown option '" + args[i] + "'");
            } else {
                files.push_back(args[i]);
            }
        }
        if (files.size() != 2) return usageError("sound", "encode needs IN.wav and OUT");
        auto encoded = encodeWavFile(files[0], stream, loop);
        if (!encoded) return fail(encoded.error());
        if (auto written = veskar::writeFileAtomically(files[1], encoded->bytes); !written)
            return fail(written.error());
        note("wrote " + files[1] + ": " + encoded->description);
        return kOk;
    }
    if (verb == "decode") {
        if (args.size() != 3) return usageError("sound", "decode needs IN and OUT.wav");
        auto bytes = veskar::readWholeFile(args[1]);
        if (!bytes) return fail(bytes.error());
        auto decoded = decodeWadyToWav(*bytes);
        if (!decoded) return fail(args[1] + ": " + decoded.error());
        if (auto written = veskar::writeFileAtomically(args[2], decoded->bytes); !written)
            return fail(written.error());
        note("wrote " + args[2] + ": " + decoded->description);
        return kOk;
    }
    return usageError("sound", "unknown subcommand '" + verb + "' (encode or decode)");
}

} // namespace vsktool
