#pragma once
// Loading pictures by name from the picture archives (JPEG first, then the
// graphics archives from the highest number down), the screen pictures the
// engine keeps until it ends, and the system pictures loaded at start-up.

#include <array>
#include <string_view>

#include "core/picture.h"

namespace veskar {

class Archives;
class Diagnostics;
struct GameDefinition;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kSpriteSlots = 5;
constexpr int kSpriteSlotWidth = 200;
constexpr int kMaxNamePlates = 59;

class Pictures {
public:
    Pictures(const Archives& archives, Diagnostics& diagnostics);

    // Finds `name` (a-z case ignored) and decodes it into `target`, which
    // takes the picture's size. False when the name is in no picture archive,
    // or when the entry cannot be read or decoded (said on stderr); `target`
    // is then left as it was.
    bool LoadPicture(std::string_view name, Picture& target);
    // The same lookup without loading.
    bool PictureExists(std::string_view name) const;

    // Start-up: every screen picture at its created size, black.
    void createScreenPictures();
    // Start-up, after the archives are open: name plates and system pictures.
    void loadSystemPictures(const GameDefinition& definition);

    // Reads panic.bmp from the game folder into `target` at 800 x 600 (the
    // file's picture at the top left, black beyond it). False, with `target`
    // untouched, when the file is missing or not a BMP the reader takes.
    bool loadPanicPicture(Picture& target) const;

    // --- Screen pictures --------------------------------------------------
    Picture bgPicture;
    Picture sceneBuffer;
    Picture nextScreen;
    Picture prevScreen;
    Picture fxBuffer;
    Picture wipeMask;
    Picture overlayPicture;
    Picture blackScreen;
    Picture loadScratch;
    std::array<Picture, kSpriteSlots> spritePicture;
    std::array<Picture, kSpriteSlots> spriteMask;
    Picture partsSheet;
    // The second parts picture of `partsload` (the chosen look of click-map
    // parts). Kept apart from fxBuffer, which every whole-screen transition
    // needs at the screen's size.
    Picture secondPartsSheet;

    // --- System pictures --------------------------------------------------
    // np01 ... np59, loaded in order up to the first that is missing.
    std::array<Picture, kMaxNamePlates> namePlates;
    int namePlateCount = 0;
    Picture sys_tw;
    Picture sys_tw1;
    Picture sys_sw;
    Picture sys_sw2;
    Picture sys_sww;  // only with SELECT_EXPAND
    Picture sys_sww2; // only with SELECT_EXPAND
    Picture sys_gaiji;
    Picture sys_qbtn;
    Picture sys_qbtn2;
    Picture sys_autobar;
    Picture sys_auto;
    Picture sys_clickw;

private:
    const Archives& archives_;
    Diagnostics& diagnostics_;
};

} // namespace veskar
