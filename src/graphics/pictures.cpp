#include "graphics/pictures.h"

#include <cstdio>

#include "archive/archives.h"
#include "core/diagnostics.h"
#include "core/files.h"
#include "graphics/bmp_reader.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"
#include "shell/game_definition.h"

namespace veskar {

Pictures::Pictures(const Archives& archives, Diagnostics& diagnostics)
    : archives_(archives), diagnostics_(diagnostics) {}

bool Pictures::LoadPicture(std::string_view name, Picture& target) {
    const auto entry = archives_.FindEntry(search::kPictures, name);
    if (!entry) return false;
    const auto bytes = archives_.readEntry(*entry);
    if (!bytes) return false; // readEntry has said why
    auto decoded = entry->set == ArchiveSet::JpegPictures ? DecodeJpeg(*bytes) : DecodePackedPicture(*bytes);
    if (!decoded) {
        // A damaged picture is shown as a missing one: the old contents stay.
        diagnostics_.report("picture '" + std::string(name) + "' in " + entry->path.filename().string() +
                            " (offset " + std::to_string(entry->offset) + "): " + decoded.error());
        return false;
    }
    target = std::move(*decoded);
    return true;
}

bool Pictures::PictureExists(std::string_view name) const {
    return archives_.FindEntry(search::kPictures, name).has_value();
}

void Pictures::createScreenPictures() {
    for (Picture* p : {&bgPicture, &sceneBuffer, &nextScreen, &prevScreen, &fxBuffer, &wipeMask,
                       &overlayPicture, &blackScreen, &loadScratch})
        p->resize(kScreenWidth, kScreenHeight);
    for (int i = 0; i < kSpriteSlots; ++i) {
        spritePicture[i].resize(kSpriteSlotWidth, kScreenHeight);
        spriteMask[i].resize(kSpriteSlotWidth, kScreenHeight);
    }
    partsSheet.resize(0, 0);
    secondPartsSheet.resize(0, 0);
    blackScreen.fill(makeColour(0, 0, 0));
}

void Pictures::loadSystemPictures(const GameDefinition& definition) {
    namePlateCount = 0;
    for (int i = 1; i <= kMaxNamePlates; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "np%02d", i);
        if (!LoadPicture(name, namePlates[i - 1])) break;
        namePlateCount = i;
    }
    LoadPicture("sys_tw", sys_tw);
    LoadPicture("sys_tw1", sys_tw1);
    LoadPicture("sys_sw", sys_sw);
    LoadPicture("sys_sw2", sys_sw2);
    if (definition.SELECT_EXPAND != 0) {
        LoadPicture("sys_sww", sys_sww);
        LoadPicture("sys_sww2", sys_sww2);
    }
    LoadPicture("sys_gaiji", sys_gaiji);
    LoadPicture("sys_qbtn", sys_qbtn);
    LoadPicture("sys_qbtn2", sys_qbtn2);
    LoadPicture("sys_autobar", sys_autobar);
    LoadPicture("sys_auto", sys_auto);
    LoadPicture("sys_clickw", sys_clickw);
}

bool Pictures::loadPanicPicture(Picture& target) const {
    const auto path = archives_.gameDir() / "panic.bmp";
    const auto bytes = readWholeFile(path);
    if (!bytes) return false;
    auto picture = ReadBmp(*bytes);
    if (!picture) {
        diagnostics_.report(path.string() + ": " + picture.error());
        return false;
    }
    Picture screen(kScreenWidth, kScreenHeight);
    screen.copyFrom(*picture, 0, 0, picture->width(), picture->height(), 0, 0);
    target = std::move(screen);
    return true;
}

} // namespace veskar
