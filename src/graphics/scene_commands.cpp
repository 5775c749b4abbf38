// The script commands that change the scene or draw straight onto the window.

#include <algorithm>

#include "core/bounded_numbers.h"
#include "core/numbers.h"
#include "core/sjis.h"
#include "graphics/pictures.h"
#include "graphics/scene.h"
#include "graphics/scene_args.h"
#include "graphics/screen_update.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "shell/engine.h"

namespace veskar {

namespace {

constexpr Colour kPartsKey = makeColour(0, 255, 255);

char first(std::string_view name) { return name.empty() ? '\0' : name[0]; }

} // namespace

void Scene::gra(std::string_view argument) {
    holdDisplay = false;
    pictureCommand(argument);
}

void Scene::grb(std::string_view argument) {
    holdDisplay = true;
    pictureCommand(argument);
}

void Scene::pictureCommand(std::string_view argument) {
    const PictureArgs args = scanPictureArgs(argument, true);
    switch (first(args.name)) {
    case 'A':
    case 'a':
        bgChanged = true;
        markGalleryPictureSeen(upperAscii(args.name));
        bgName = fitField(args.name, kSceneNameField, "background name", engine_.diagnostics);
        if (!engine_.pictures.LoadPicture(args.name, engine_.pictures.bgPicture)) return;
        if (holdDisplay && args.mode == 0) return;
        clearSprites();
        engine_.screen.UpdateScreen(args.mode);
        return;
    case 'S':
    case 's':
        bgChanged = true;
        bgName = fitField(args.name, kSceneNameField, "background name", engine_.diagnostics);
        engine_.pictures.bgPicture.fill(colourFromName(args.name));
        if (holdDisplay) return;
        clearSprites();
        engine_.screen.UpdateScreen(args.mode);
        return;
    case 'B':
    case 'b':
        if (args.side == SpriteSide::None) {
            positionCount = 1;
            spriteList = fitField(args.name, kSpriteListField, "sprite list", engine_.diagnostics);
            for (int k = 0; k < 4; ++k)
                positionNames[static_cast<std::size_t>(k)].clear();
        } else if (args.side == SpriteSide::Left) {
            positionNames[0] = args.name;
            joinLeftRight();
        } else {
            if (positionCount == 1) positionNames[0].clear();
            positionNames[1] = args.name;
            joinLeftRight();
        }
        SetSprites(spriteList);
        if (!holdDisplay) engine_.screen.UpdateScreen(args.mode);
        return;
    default:
        return;
    }
}

void Scene::bg(std::string_view argument) {
    const PictureArgs args = scanPictureArgs(argument, false);
    bgChanged = true;
    if (!isColourName(args.name)) markGalleryPictureSeen(upperAscii(args.name));
    bgName = fitField(args.name, kSceneNameField, "background name", engine_.diagnostics);
    if (!loadBackground(args.name)) return;
    if (holdDisplay) return;
    clearSprites();
    engine_.screen.UpdateScreen(args.mode);
}

void Scene::clrb(std::string_view argument) {
    // The inline tag hands over the rest of the line: its argument ends at "]".
    argument = argument.substr(0, argument.find(']'));
    const char last = argument.empty() ? '\0' : argument.back();
    if (last == 'L' || last == 'l') {
        positionNames[0].clear();
        joinLeftRight();
    } else if (last == 'R' || last == 'r') {
        positionNames[1].clear();
        joinLeftRight();
    } else {
        clearSprites();
    }
    engine_.screen.UpdateScreen(readScriptNumber(argument));
}

void Scene::spr(std::string_view argument) { engine_.screen.UpdateScreen(SetSprites(argument)); }

void Scene::ovr(std::string_view argument) {
    const OverlayArgs args = scanOverlayArgs(argument);
    if (args.hasX) engine_.vars.S(reg::kOverlayX) = args.x;
    if (args.hasY) engine_.vars.S(reg::kOverlayY) = args.y;
    overlayName = fitField(args.name, kSceneNameField, "overlay name", engine_.diagnostics);
    if (equalsIgnoreAsciiCase(args.name, "OFF")) {
        engine_.vars.S(reg::kOverlayShown) = 0;
    } else {
        engine_.pictures.LoadPicture(args.name, engine_.pictures.overlayPicture);
        engine_.vars.S(reg::kOverlayShown) = 1;
    }
    engine_.screen.UpdateScreen(args.mode);
}

void Scene::partsload(std::string_view argument) {
    const std::size_t comma = argument.find(',');
    engine_.pictures.LoadPicture(argument.substr(0, comma), engine_.pictures.partsSheet);
    if (comma != std::string_view::npos) {
        engine_.pictures.LoadPicture(argument.substr(comma + 1), engine_.pictures.secondPartsSheet);
        engine_.vars.S(reg::kSecondParts) = 1;
    } else {
        engine_.vars.S(reg::kSecondParts) = 0;
    }
}

void Scene::ptset(std::string_view argument) {
    std::string text = upperAscii(argument);
    std::replace(text.begin(), text.end(), '\t', ' ');
    int v[6] = {};
    std::size_t start = 0;
    for (int i = 0; i < 6; ++i) {
        const std::size_t comma = text.find(',', start);
        if (start <= text.size())
            v[i] = engine_.vars.evalExpression(std::string_view(text).substr(
                start, comma == std::string::npos ? std::string::npos : comma - start));
        start = comma == std::string::npos ? text.size() + 1 : comma + 1;
    }
    for (int& value : v)
        value = screenCoordinate(value, "a ptset value", engine_.diagnostics);
    const Picture& sheet = engine_.pictures.partsSheet;
    // The rectangle is clipped to the sheet; cyan pixels stay transparent.
    const int x1 = std::max(v[0], 0), y1 = std::max(v[1], 0);
    const int x2 = std::min(v[2], sheet.width()), y2 = std::min(v[3], sheet.height());
    Picture& window = engine_.host.windowPicture();
    for (int y = y1; y < y2; ++y) {
        const int wy = v[5] + (y - v[1]);
        if (wy < 0 || wy >= window.height()) continue;
        for (int x = x1; x < x2; ++x) {
            const int wx = v[4] + (x - v[0]);
            if (wx < 0 || wx >= window.width()) continue;
            const Colour c = sheet.pixel(x, y);
            if (c != kPartsKey) window.setPixel(wx, wy, c);
        }
    }
    engine_.host.present();
}

void Scene::direct(std::string_view argument) {
    engine_.run.ScriptRunning = false;
    const std::uint32_t start = engine_.clock.tickCount();
    const DirectArgs args = scanDirectArgs(argument);
    Picture& sheet = engine_.pictures.partsSheet;
    engine_.pictures.LoadPicture(args.name, sheet);
    engine_.screen.showAt(sheet, screenCoordinate(args.x, "a direct position", engine_.diagnostics),
                          screenCoordinate(args.y, "a direct position", engine_.diagnostics));
    const auto ms = static_cast<std::uint32_t>(std::clamp(args.ms, 0, kMaxDirectWaitMs));
    for (;;) {
        engine_.host.processMessages();
        if (engine_.run.closeRequested()) break;
        const std::uint32_t elapsed = engine_.clock.tickCount() - start;
        if (elapsed >= ms) break;
        engine_.clock.sleep(std::min<std::uint32_t>(ms - elapsed, 10));
    }
    engine_.run.ScriptRunning = true;
}

} // namespace veskar
