// vsktool pic encode|decode|jpeg: pictures between PNG/BMP files and the
// packed pictures of the graphics archives, and JPEGs for the JPEG archive.

#include "core/files.h"
#include "graphics/jpeg_encoder.h"
#include "graphics/packed_picture.h"
#include "picture_files.h"
#include "tool_support.h"

namespace vsktool {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPicHelp =
    "Usage: vsktool pic encode IN.png|IN.bmp OUT\n"
    "       vsktool pic decode IN OUT.png\n"
    "       vsktool pic jpeg IN.png|IN.bmp OUT.jpg\n"
    "\n"
    "encode  reads a PNG (any colour type; transparency is laid over black) or an\n"
    "        uncompressed 24-bit BMP and writes a packed picture, the format of\n"
    "        vk_gra.vsk, vk_gra2.vsk and vk_gra3.vsk, choosing the stages that give\n"
    "        the smallest entry. Pictures are at most 65535 pixels each way.\n"
    "decode  reads a packed picture (or a JPEG entry of vk_gjp.vsk) and writes it\n"
    "        as a PNG; a damaged entry is an error saying what is wrong.\n"
    "jpeg    reads a PNG or 24-bit BMP and writes a baseline JPEG (quality 90)\n"
    "        for the vk_gjp/ folder.\n"
    "\n"
    "'vsktool build' encodes the .png and .bmp files of vk_gra*/ folders itself.\n";

int encode(const fs::path& in, const fs::path& out) {
    auto picture = readSourcePicture(in);
    if (!picture) return fail(picture.error());
    auto packed = veskar::EncodePackedPicture(*picture);
    if (!packed) return fail(in.string() + ": " + packed.error());
    if (auto written = veskar::writeFileAtomically(out, *packed); !written) return fail(written.error());
    return kOk;
}

int decode(const fs::path& in, const fs::path& out) {
    auto bytes = veskar::readWholeFile(in);
    if (!bytes) return fail(bytes.error());
    auto picture = decodeStoredPicture(*bytes);
    if (!picture) return fail(in.string() + ": " + picture.error());
    if (auto written = writePngFile(*picture, out); !written)
        return fail(out.string() + ": " + written.error());
    return kOk;
}

int jpeg(const fs::path& in, const fs::path& out) {
    auto picture = readSourcePicture(in);
    if (!picture) return fail(picture.error());
    if (picture->width() <= 0 || picture->height() <= 0) return fail(in.string() + ": empty picture");
    const auto bytes = veskar::EncodeJpeg(*picture, 90);
    if (auto written = veskar::writeFileAtomically(out, bytes); !written) return fail(written.error());
    return kOk;
}

} // namespace

int runPic(Args args) {
    if (wantsHelp(args)) return printHelp(kPicHelp);
    if (args.empty()) return usageError("pic", "missing 'encode', 'decode' or 'jpeg'");
    const std::string& action = args[0];
    if (action != "encode" && action != "decode" && action != "jpeg")
        return usageError("pic", "unknown action '" + action + "' (want 'encode', 'decode' or 'jpeg')");
    if (args.size() != 3) return usageError("pic", action + " takes an input and an output file");
    for (std::size_t i = 1; i < 3; ++i)
        if (args[i].starts_with("-") && args[i].size() > 1)
            return usageError("pic", "unknown option '" + args[i] + "'");
    if (action == "jpeg") return jpeg(args[1], args[2]);
    return action == "encode" ? encode(args[1], args[2]) : decode(args[1], args[2]);
}

} // namespace vsktool
