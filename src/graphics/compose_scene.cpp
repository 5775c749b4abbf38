// Flattening the scene into sceneBuffer: background, overlay beneath or above
// the sprites, the line-up, composite sprites and the screen filter.

#include <algorithm>

#include "core/bounded_numbers.h"
#include "core/numbers.h"
#include "graphics/kernels.h"
#include "graphics/pictures.h"
#include "graphics/scene.h"
#include "graphics/screen_filter.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

namespace {

constexpr std::size_t kCompositeParts = 8;

struct Placement {
    int position;
    int slot;
};

} // namespace

void Scene::ComposeScene() {
    auto& pictures = engine_.pictures;
    engine_.window.ComposedWindowValid = false; // the window must be blended over the new scene
    const Picture& bgPic = pictures.bgPicture;
    pictures.sceneBuffer.copyFrom(bgPic, 0, 0, bgPic.width(), bgPic.height(), 0, 0);

    const bool overlay =
        engine_.vars.S(reg::kOverlayShown) != 0 && engine_.run.ScreenMode != screen_mode::kPageRecall;
    const int order = engine_.vars.S(reg::kOverlayOrder);
    if (overlay && order == 0) DrawOverlay();

    const bool rightFirst = engine_.vars.S(reg::kLineUpOrder) != 0;
    std::vector<Placement> placements;
    switch (positionCount) {
    case 1:
        placements = {{0, 0}};
        break;
    case 2:
        placements =
            rightFirst ? std::vector<Placement>{{1, 2}, {0, 1}} : std::vector<Placement>{{0, 1}, {1, 2}};
        break;
    case 3:
        placements = {{0, 3}, {2, 5}, {1, 4}};
        break; // the centre on top
    case 4:
        placements = rightFirst ? std::vector<Placement>{{3, 9}, {2, 8}, {0, 6}, {1, 7}}
                                : std::vector<Placement>{{0, 6}, {1, 7}, {3, 9}, {2, 8}};
        break;
    default:
        break;
    }
    for (const Placement& p : placements)
        drawSprite(p.position, p.slot);

    if (overlay && order == 1) DrawOverlay();
}

void Scene::drawSprite(int position, int lineUpSlot) {
    const std::string& name = positionNames[static_cast<std::size_t>(position)];
    if (name.empty()) return;
    const int x =
        screenCoordinate(engine_.vars.S(reg::kSlotX + lineUpSlot), "a sprite position", engine_.diagnostics);
    const int y =
        screenCoordinate(engine_.vars.S(reg::kSlotY + lineUpSlot), "a sprite position", engine_.diagnostics);
    if (name[0] == '#') {
        DrawComposite(name, x, y);
        return;
    }
    const auto slot =
        static_cast<std::size_t>(std::clamp(positionSlot[static_cast<std::size_t>(position)], 0, 4));
    const Picture& picture = engine_.pictures.spritePicture[slot];
    DrawMaskedSprite(engine_.pictures.sceneBuffer, picture,
                     clampCoordinate(std::int64_t{x} - picture.width() / 2), y,
                     engine_.pictures.spriteMask[slot]);
}

void Scene::DrawOverlay() {
    auto& pictures = engine_.pictures;
    Picture& scene = pictures.sceneBuffer;
    const Picture& overlay = pictures.overlayPicture;
    const int x =
        screenCoordinate(engine_.vars.S(reg::kOverlayX), "an overlay position", engine_.diagnostics);
    const int y =
        screenCoordinate(engine_.vars.S(reg::kOverlayY), "an overlay position", engine_.diagnostics);
    const int a = engine_.vars.S(reg::kOverlayOpacity);
    if (a == 0) {
        DrawHalfMaskedH(scene, x, overlay, y);
        return;
    }
    // A constant-weight blend, kept inside the scene.
    const int skip = std::max(0, -x);
    const int visible = std::min(overlay.width(), scene.width() - x) - skip;
    if (visible <= 0) return;
    const int groups = 3 * visible / 8;
    for (int r = 0; r < overlay.height(); ++r) {
        const int row = y + r;
        if (row < 0 || row >= scene.height()) continue;
        std::uint8_t* out = scene.row(row) + (x + skip) * 3;
        CrossFadeRow(overlay.row(r) + skip * 3, out, a, groups, out);
    }
}

void Scene::DrawComposite(std::string_view name, int x, int y) {
    std::string key(name);
    key[0] = ':';
    const auto head = std::find(compositeDefinitions.begin(), compositeDefinitions.end(), key);
    if (head == compositeDefinitions.end()) return;

    auto& pictures = engine_.pictures;
    int baseWidth = 0; // offset parts before any base part are placed from x itself
    std::size_t parts = 0;
    for (auto it = head + 1; it != compositeDefinitions.end() && parts < kCompositeParts; ++it, ++parts) {
        const std::string& line = *it;
        if (!line.empty() && line[0] == ':') break;
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos) {
            bool loaded = false;
            const auto slot = static_cast<std::size_t>(slotFor(line, loaded));
            const Picture& picture = pictures.spritePicture[slot];
            baseWidth = picture.width();
            DrawMaskedSprite(pictures.sceneBuffer, picture, clampCoordinate(std::int64_t{x} - baseWidth / 2),
                             y, pictures.spriteMask[slot]);
            continue;
        }
        // Offset parts bypass the cache and are decoded on every composition.
        const std::string partName = line.substr(0, comma);
        const std::size_t second = line.find(',', comma + 1);
        const auto offset = [&](std::size_t at) {
            return screenCoordinate(readScriptNumber(std::string_view(line).substr(at + 1)),
                                    "a composite sprite offset", engine_.diagnostics);
        };
        const int dx = offset(comma);
        const int dy = second == std::string::npos ? 0 : offset(second);
        Picture picture, mask;
        std::string maskName = partName;
        if (!maskName.empty()) maskName[0] = 'M';
        if (!pictures.LoadPicture(partName, picture) || !pictures.LoadPicture(maskName, mask)) continue;
        DrawMaskedSprite(pictures.sceneBuffer, picture, clampCoordinate(std::int64_t{x} - baseWidth / 2 + dx),
                         clampCoordinate(std::int64_t{y} + dy), mask);
    }
}

void Scene::ApplyScreenFilter() {
    applyScreenFilter(engine_.pictures.sceneBuffer, engine_.vars.S(reg::kFilter),
                      engine_.vars.S(reg::kBrightness));
}

} // namespace veskar
