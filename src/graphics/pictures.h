#pragma once
// The engine's screen pictures and LoadPicture. A first version for the scene
// and the transitions; the full picture loader arrives with the picture branch.

#include <array>
#include <string_view>

#include "core/picture.h"

namespace veskar {

class Engine;

class Pictures {
public:
    explicit Pictures(Engine& engine);

    // Decodes the named picture into `target`; false (target untouched) when missing.
    bool LoadPicture(std::string_view name, Picture& target);
    bool PictureExists(std::string_view name) const;

    Picture bgPicture{800, 600};
    Picture sceneBuffer{800, 600};
    Picture nextScreen{800, 600};
    Picture prevScreen{800, 600};
    Picture fxBuffer{800, 600};
    Picture wipeMask{800, 600};
    Picture overlayPicture{800, 600};
    Picture blackScreen{800, 600};
    Picture loadScratch{800, 600};
    std::array<Picture, 5> spritePicture{Picture(200, 600), Picture(200, 600), Picture(200, 600), Picture(200, 600),
                                         Picture(200, 600)};
    std::array<Picture, 5> spriteMask{Picture(200, 600), Picture(200, 600), Picture(200, 600), Picture(200, 600),
                                      Picture(200, 600)};
    Picture partsSheet;

private:
    Engine& engine_;
};

} // namespace veskar
