#include "graphics/scene.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/sjis.h"
#include "graphics/pictures.h"
#include "graphics/scene_args.h"
#include "shell/engine.h"

namespace veskar {

namespace {

constexpr std::array<int, 10> kLineUpX = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The name of a sprite's mask: its first character replaced by "M".
std::string maskName(std::string_view name) {
    std::string mask(name);
    if (!mask.empty()) mask[0] = 'M';
    return mask;
}

} // namespace

Scene::Scene(Engine& engine) : engine_(engine) { reset(); }

void Scene::reset() {
    bgName.clear();
    spriteList.clear();
    overlayName.clear();
    for (auto& name : positionNames)
        name.clear();
    positionCount = 0;
    positionSlot.fill(0);
    slotNames.fill("0");
    nextSlot = 0;
    bgChanged = false;
    holdDisplay = false;
    compositeDefinitions.clear();
}

void Scene::ReadSpriteSets() {
    compositeDefinitions.clear();
    if (!engine_.scripts.LoadScript("_sprset", ScriptKind::Definition)) return;
    while (!engine_.scripts.definitionAtEnd()) {
        std::string line = upperAscii(engine_.scripts.ReadDefinitionLine());
        if (line.empty() || line[0] == ';') continue;
        compositeDefinitions.push_back(line);
        if (line == ":END") break;
    }
}

void Scene::resetLineUp() {
    for (int i = 0; i < 10; ++i) {
        engine_.vars.S(sreg::kSlotX + i) = kLineUpX[static_cast<std::size_t>(i)];
        engine_.vars.S(sreg::kSlotY + i) = 0;
    }
}

void Scene::clearSprites() {
    positionCount = 0;
    positionNames[0].clear();
    positionNames[1].clear();
    spriteList.clear();
}

void Scene::joinLeftRight() {
    spriteList = fitField(positionNames[0] + "," + positionNames[1], kSpriteListField, "sprite list");
}

void Scene::markGalleryPictureSeen(std::string_view) {
    // The gallery's picture list marks the picture seen here once the gallery exists.
}

bool Scene::loadBackground(std::string_view name) {
    if (isColourName(name)) {
        engine_.pictures.bgPicture.fill(colourFromName(name));
        return true;
    }
    return engine_.pictures.LoadPicture(name, engine_.pictures.bgPicture);
}

int Scene::SetSprites(std::string_view listText) {
    const std::string list = upperAscii(listText);
    // The global sprite-change counter is kept with the global data once saving exists.

    std::size_t start = 0;
    for (int k = 0; k < kScenePositions; ++k) {
        std::string_view field;
        if (start <= list.size()) {
            const std::size_t comma = list.find(',', start);
            field = std::string_view(list).substr(start, comma == std::string::npos ? std::string::npos
                                                                                    : comma - start);
            start = comma == std::string::npos ? list.size() + 1 : comma + 1;
        }
        if (field != "-") positionNames[static_cast<std::size_t>(k)] = std::string(field);
    }

    int last = -1;
    for (int k = kScenePositions - 1; k >= 0; --k)
        if (!positionNames[static_cast<std::size_t>(k)].empty()) {
            last = k;
            break;
        }
    if (list.empty() || last < 0) {
        positionCount = 0;
        spriteList.clear();
        return 0;
    }

    int mode = 1;
    const std::string& lastName = positionNames[static_cast<std::size_t>(last)];
    if (isDigit(lastName[0])) {
        mode = readScriptNumber(lastName);
        positionCount = last;
    } else {
        positionCount = last + 1;
    }
    // A trailing comma adds an empty position.
    if (list.back() == ',') positionCount = std::min(positionCount + 1, kScenePositions);

    if (positionCount == 1 && positionNames[0].empty()) {
        positionCount = 0;
        spriteList.clear();
        return mode;
    }

    std::string joined;
    for (int k = 0; k < positionCount; ++k) {
        if (k > 0) joined += ',';
        joined += positionNames[static_cast<std::size_t>(k)];
    }
    spriteList = fitField(joined, kSpriteListField, "sprite list");

    // Passes repeat until every position finds its slot; a load may evict a
    // slot an earlier position took. Five slots hold any line-up, so a few
    // passes always settle; the bound only guards against surprises.
    for (int pass = 0; pass < 4 * kSpriteSlots; ++pass) {
        bool loaded = false;
        for (int k = 0; k < positionCount && !loaded; ++k) {
            const std::string& name = positionNames[static_cast<std::size_t>(k)];
            if (name.empty() || name[0] == '#') continue;
            positionSlot[static_cast<std::size_t>(k)] = slotFor(name, loaded);
        }
        if (!loaded) break;
    }
    return mode;
}

int Scene::slotFor(const std::string& name, bool& loaded) {
    for (int s = 0; s < kSpriteSlots; ++s)
        if (slotNames[static_cast<std::size_t>(s)] == name) return s;
    const int slot = nextSlot;
    loadIntoSlot(name, slot);
    nextSlot = (nextSlot + 1) % kSpriteSlots;
    loaded = true;
    return slot;
}

void Scene::loadIntoSlot(const std::string& name, int slot) {
    auto& pictures = engine_.pictures;
    Picture& picture = pictures.spritePicture[static_cast<std::size_t>(slot)];
    Picture& mask = pictures.spriteMask[static_cast<std::size_t>(slot)];
    if (engine_.definition.TACHI_TYPE == 1) {
        // One file: the picture in the left half, its mask in the right half.
        Picture& scratch = pictures.loadScratch;
        if (pictures.LoadPicture(name, scratch)) {
            const int half = scratch.width() / 2;
            picture.resize(half, scratch.height());
            mask.resize(half, scratch.height());
            picture.copyFrom(scratch, 0, 0, half, scratch.height(), 0, 0);
            mask.copyFrom(scratch, half, 0, half, scratch.height(), 0, 0);
        }
    } else {
        pictures.LoadPicture(name, picture);
        pictures.LoadPicture(maskName(name), mask);
    }
    // A missing picture still takes the slot: the old pixels stay on show.
    slotNames[static_cast<std::size_t>(slot)] = name;
}

void Scene::rebuild() {
    if (!bgName.empty()) loadBackground(bgName);
    if (engine_.vars.S(sreg::kOverlayShown) != 0)
        engine_.pictures.LoadPicture(overlayName, engine_.pictures.overlayPicture);
    SetSprites(spriteList);
}

} // namespace veskar
