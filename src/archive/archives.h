#pragma once
// The archive sets of a game, their in-memory indexes and the one lookup.

#include <array>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_index.h"

namespace veskar {

class Engine;

enum class ArchiveSet {
    Scripts,
    ScriptOverrides,
    Pictures,     // slots 1-3: vk_gra.vsk, vk_gra2.vsk, vk_gra3.vsk
    JpegPictures, // vk_gjp.vsk
    WaveSounds,   // vk_wav1.vsk ... vk_wav5.vsk
    SoundEffects, // vk_se0.vsk ... vk_se2.vsk
    OggVoices,    // vk_ogg1.vsk ... vk_ogg3.vsk
    Music,        // vk_bgm.vsk
    Animations,   // vk_anim.vsk
    Animations2,  // vk_anim2.vsk
};
constexpr int kArchiveSetCount = 10;

// Where a found entry lives. `slot` is the slot number as the set's file names
// count it (pictures 1-3, sound effects 0-2, single-slot sets 1).
struct EntryLocation {
    ArchiveSet set;
    int slot = 0;
    std::filesystem::path path;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// One step of a search order: a set and one of its slots.
struct SlotRef {
    ArchiveSet set;
    int slot;
};

// The slot counts a game definition declares; they decide only whether the
// disc folder is tried for a slot that is missing beside the game.
struct ShippedArchives {
    int VKD_GRA = 0;
    int VKD_GJP = 0;
    int VKD_WAV = 0;
    int VKD_SE = 0;
    int VKD_OGG = 0;
    int VKD_ANIM = 0;
};

class Archives {
public:
    explicit Archives(std::filesystem::path gameDir) : gameDir_(std::move(gameDir)) {}

    // Start-up: the two script archives (vk_data.vsk must exist; the caller
    // checks that first).
    void LoadScriptIndexes();
    // Start-up, after the game definition and CDDir are known: every other slot.
    void OpenArchives(const ShippedArchives& shipped, std::string_view CDDir);

    std::optional<EntryLocation> FindEntry(std::span<const SlotRef> order, std::string_view name) const;

    // Reads exactly the entry's bytes; nullopt (with one line on stderr) when
    // the file has gone or is shorter than the index says.
    std::optional<std::vector<std::uint8_t>> readEntry(const EntryLocation& entry) const;

    const ArchiveIndex& index(ArchiveSet set, int slot) const;
    bool scriptArchiveExists() const;
    bool firstPictureArchiveExists() const;
    const std::filesystem::path& gameDir() const { return gameDir_; }

    // File name of a slot of a set, as it lies in the game folder.
    static std::string slotFileName(ArchiveSet set, int slot);
    // The slot numbers of a set, in file-name numbering.
    static std::span<const int> slotsOf(ArchiveSet set);

private:
    std::filesystem::path gameDir_;
    // Indexed by set, then by slot position (0-based within slotsOf(set)).
    std::array<std::vector<ArchiveIndex>, kArchiveSetCount> indexes_;
};

// The search orders of the readers.
namespace search {
extern const std::array<SlotRef, 2> kScripts;  // overrides, then scripts
extern const std::array<SlotRef, 4> kPictures; // JPEG, then pictures 3, 2, 1
} // namespace search

} // namespace veskar
