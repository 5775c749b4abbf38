#pragma once
// The scene: a background picture or colour, up to four sprites on fixed
// line-up positions, one overlay; the commands that change it, the five-slot
// sprite cache, composite sprites and the composition into sceneBuffer.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/picture.h"
#include "graphics/pictures.h"

namespace veskar {

class Engine;

constexpr int kScenePositions = 5;
constexpr std::size_t kSceneNameField = 29;  // bgName, overlayName
constexpr std::size_t kSpriteListField = 59; // spriteList

// System registers the scene reads.
namespace sreg {
constexpr int kFilter = 11;
constexpr int kBrightness = 13;
constexpr int kSecondParts = 15;
constexpr int kOverlayOrder = 20;
constexpr int kOverlayX = 21;
constexpr int kOverlayY = 22;
constexpr int kOverlayOpacity = 23;
constexpr int kLineUpOrder = 24;
constexpr int kOverlayShown = 35;
constexpr int kSlotX = 80; // S080 ... S089
constexpr int kSlotY = 90; // S090 ... S099
} // namespace sreg

class Scene {
public:
    explicit Scene(Engine& engine);

    // --- State (saved with the game and recorded with the backlog) ------------
    std::string bgName;
    std::string spriteList;
    std::string overlayName;
    std::array<std::string, kScenePositions> positionNames;
    int positionCount = 0;
    std::array<int, kScenePositions> positionSlot{};
    std::array<std::string, kSpriteSlots> slotNames;
    int nextSlot = 0;
    bool bgChanged = false;
    bool holdDisplay = false;
    // Lines of `_sprset`, upper-cased, up to and including ":END".
    std::vector<std::string> compositeDefinitions;

    // Start-up: empty scene, slot names "0", then the sprite sets are read.
    void reset();
    void ReadSpriteSets();
    // The start-up line-up: slot centres and tops in S080 ... S099.
    void resetLineUp();

    // --- Script commands (argument text as the dispatcher hands it over) ------
    void gra(std::string_view argument);
    void grb(std::string_view argument);
    void bg(std::string_view argument);
    void clrb(std::string_view argument);
    void spr(std::string_view argument);
    void ovr(std::string_view argument);
    void partsload(std::string_view argument);
    void ptset(std::string_view argument);
    void direct(std::string_view argument);

    // --- Operations for other subsystems -----------------------------------
    // Parses and loads a line-up; returns the transition mode it names.
    int SetSprites(std::string_view list);
    void ComposeScene();
    void ApplyScreenFilter();
    void DrawOverlay();
    void DrawComposite(std::string_view name, int x, int y);
    // After a saved game's scene fields were restored: background, overlay
    // and sprites are loaded again (the caller then updates the screen).
    void rebuild();
    // Fills bgPicture from a colour name or loads it; false when missing.
    bool loadBackground(std::string_view name);

private:
    void pictureCommand(std::string_view argument);
    void backgroundCommand(std::string_view argument, bool updateUnlessHeld);
    void clearSprites();
    void joinLeftRight();
    // The cache slot holding `name`, loading it into nextSlot when no slot does.
    int slotFor(const std::string& name, bool& loaded);
    void loadIntoSlot(const std::string& name, int slot);
    void drawSprite(int position, int lineUpSlot);
    // Gallery pictures are marked seen when shown as a background.
    void markGalleryPictureSeen(std::string_view upperName);

    Engine& engine_;
};

} // namespace veskar
