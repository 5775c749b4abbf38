// vsktool new: a small complete game to start from.

#include <png.h>

#include <fstream>

#include "core/files.h"
#include "core/picture.h"
#include "picture_files.h"
#include "tool_support.h"

namespace vsktool {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kNewHelp =
    "Usage: vsktool new DIR\n"
    "\n"
    "Writes a small complete game source tree into DIR (which must not exist\n"
    "yet or be empty): a message window, a background, a sprite drawn as a PNG\n"
    "with transparency, a speaker's name and two pages. Build and play it with\n"
    "\n"
    "  vsktool build DIR GAME_DIR && veskar GAME_DIR\n";

constexpr std::string_view kConfig = ";the game definition: title, window layout, speakers\n"
                                     "TITLE:はじめてのゲーム\n"
                                     "MAKER_REG:Software\\Veskar\n"
                                     "GAME_ID:starter\n"
                                     ";the message window: sys_tw is 760 x 336 (window over mask)\n"
                                     "TXW_OFS_X:20\nTXW_OFS_Y:424\nTXW_SIZE_X:760\nTXW_SIZE_Y:168\n"
                                     ";the speaker's name plate\n"
                                     "NP_OFS_X:36\nNP_OFS_Y:430\nNP_SZ_X:232\nNP_SZ_Y:38\n"
                                     ";text: row 0 holds the name, three rows of text below it\n"
                                     "TX_OFS_X:24\nTX_OFS_Y:8\nTX_PITCH_X:13\nTX_PITCH_Y:38\n"
                                     "MOJI_MAX_X:50\nMOJI_MAX_Y:4\n"
                                     ";sprites: one file each (the build makes the mask from transparency)\n"
                                     "TACHI_TYPE:1\n"
                                     "VKD_GRA:1\n"
                                     "NAME:1,ハナ,GCC\n"
                                     "END\n";

constexpr std::string_view kMain = ";the script the game starts with\n"
                                   "*gameinit\n"
                                   "*title はじめの一話\n"
                                   "*bg a_sky 1\n"
                                   "*tw_set 1\n"
                                   "*spr b_hana,1\n"
                                   ">ハナ\n"
                                   "こんにちは。これは Veskar のはじめのゲームです。\n"
                                   "\\\n"
                                   ">ハナ\n"
                                   "二ページめです。main.txt を書きかえてみてください。\n"
                                   "\\\n"
                                   "*exitgame\n";

bool writeText(const fs::path& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

// A sky from deep blue at the top to pale at the horizon.
veskar::Picture sky() {
    veskar::Picture p(800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            p.setPixel(x, y, veskar::makeColour(40 + y / 4, 80 + y / 4, 160 + y / 8));
    return p;
}

// The message window and its mask below it (grey: half transparent).
veskar::Picture window() {
    veskar::Picture p(760, 336);
    for (int y = 0; y < 336; ++y)
        for (int x = 0; x < 760; ++x)
            p.setPixel(x, y, y < 168 ? veskar::makeColour(10, 20, 50) : veskar::makeColour(170, 170, 170));
    return p;
}

// A figure as an author draws one: a PNG whose background is transparent.
bool writeSprite(const fs::path& path) {
    constexpr int w = 200, h = 500;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2;
            const bool head = (dx * dx + (y - 80) * (y - 80)) < 50 * 50;
            const bool body = y > 130 && y < 480 && dx * dx * 4 < (y - 100) * (y - 100);
            if (!head && !body) continue;
            std::uint8_t* px = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            px[0] = head ? 250 : 200; // red
            px[1] = head ? 220 : 90;
            px[2] = head ? 200 : 120;
            px[3] = 255;
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), w * 4, nullptr) != 0;
}

} // namespace

int runNew(Args args) {
    if (wantsHelp(args)) return printHelp(kNewHelp);
    if (args.size() != 1 || args[0].starts_with("-")) return usageError("new", "give the folder to write");
    const fs::path dir = args[0];
    std::error_code ec;
    if (fs::exists(dir, ec) && !fs::is_empty(dir, ec)) return fail(dir.string() + " exists and is not empty");
    fs::create_directories(dir / "vk_data", ec);
    fs::create_directories(dir / "vk_gra", ec);
    if (ec) return fail("cannot create " + dir.string() + ": " + ec.message());
    if (!writeText(dir / "vk_data/_config.txt", kConfig) || !writeText(dir / "vk_data/main.txt", kMain))
        return fail("cannot write the scripts in " + dir.string());
    for (const auto& [name, picture] : {std::pair{"a_sky.png", sky()}, std::pair{"sys_tw.png", window()}})
        if (auto written = writePngFile(picture, dir / "vk_gra" / name); !written)
            return fail(written.error());
    if (!writeSprite(dir / "vk_gra/b_hana.png"))
        return fail("cannot write " + (dir / "vk_gra/b_hana.png").string());
    note("wrote a starter game in " + dir.string() + "; build it with: vsktool build " + dir.string() +
         " GAME_DIR");
    return kOk;
}

} // namespace vsktool
