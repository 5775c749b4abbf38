#pragma once
// The archive sets of a game, their in-memory indexes and the one lookup.

#include <array>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
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

// The disc-folder setting's value when no installer has written one.
constexpr std::string_view kNoDiscFolder = "NULL";

class Diagnostics;

class Archives {
public:
    // Problems with the archives go to `diagnostics`; the first form keeps a
    // sink of its own that writes to standard error (the tools use it).
    Archives(std::filesystem::path gameDir, Diagnostics& diagnostics);
    explicit Archives(std::filesystem::path gameDir);

    // Start-up: the two script archives (vk_data.vsk must exist; the caller
    // checks that first).
    void LoadScriptIndexes();
    // Start-up, after the game definition and CDDir are known: every other slot.
    // `CDDir` is the stored setting (Shift-JIS).
    void OpenArchives(const ShippedArchives& shipped, std::string_view CDDir);

    // The first slot in `order` whose index holds `name` (a-z case ignored)
    // answers with its first entry of that name.
    std::optional<EntryLocation> FindEntry(std::span<const SlotRef> order, std::string_view name) const;

    // Reads exactly the entry's bytes; nullopt (with one line on stderr) when
    // the file has gone or is shorter than the index says.
    std::optional<std::vector<std::uint8_t>> readEntry(const EntryLocation& entry) const;

    // The index of a slot; an empty one for a slot the set does not have.
    const ArchiveIndex& index(ArchiveSet set, int slot) const;
    bool scriptArchiveExists() const;
    bool firstPictureArchiveExists() const;
    const std::filesystem::path& gameDir() const { return gameDir_; }

    // File name of a slot of a set, as it lies in the game folder; empty for
    // a slot the set does not have.
    static std::string slotFileName(ArchiveSet set, int slot);
    // The slot numbers of a set, in file-name numbering.
    static std::span<const int> slotsOf(ArchiveSet set);
    // Whether the disc folder is tried for a slot of a set missing beside the game.
    static bool discFallbackApplies(ArchiveSet set, int slot, const ShippedArchives& shipped);

    // Where a slot's file is looked for on the disc: `CDDir` less one trailing
    // backslash, then the file name with no separator between them. Empty when
    // there is no disc folder. Relative results are taken from the game folder.
    std::filesystem::path discPath(std::string_view CDDir, std::string_view fileName) const;

private:
    // Position of a slot number within slotsOf(set), or -1.
    static int slotPosition(ArchiveSet set, int slot);
    ArchiveIndex readIndex(const std::filesystem::path& path, ArchiveLayout layout) const;

    std::filesystem::path gameDir_;
    std::shared_ptr<Diagnostics> ownDiagnostics_;
    Diagnostics* diagnostics_;
    // Indexed by set, then by slot position (0-based within slotsOf(set)).
    std::array<std::vector<ArchiveIndex>, kArchiveSetCount> indexes_;
    ArchiveIndex noIndex_;
};

// The search orders of the readers.
namespace search {
// The script loader: overrides, then scripts.
inline constexpr std::array<SlotRef, 2> kScripts{
    {{ArchiveSet::ScriptOverrides, 1}, {ArchiveSet::Scripts, 1}}};
// The picture loader and the picture existence test: JPEG first, then
// pictures 3, 2, 1 (higher numbers override lower).
inline constexpr std::array<SlotRef, 4> kPictures{{{ArchiveSet::JpegPictures, 1},
                                                   {ArchiveSet::Pictures, 3},
                                                   {ArchiveSet::Pictures, 2},
                                                   {ArchiveSet::Pictures, 1}}};
// The voice and effect player: Ogg voices 3, 2, 1, then sound effects 0, 1, 2
// (effects are searched upward). The player leaves out the slots its settings
// disable, so the two halves are given apart too.
inline constexpr std::array<SlotRef, 3> kVoices{
    {{ArchiveSet::OggVoices, 3}, {ArchiveSet::OggVoices, 2}, {ArchiveSet::OggVoices, 1}}};
inline constexpr std::array<SlotRef, 3> kEffects{
    {{ArchiveSet::SoundEffects, 0}, {ArchiveSet::SoundEffects, 1}, {ArchiveSet::SoundEffects, 2}}};
inline constexpr std::array<SlotRef, 6> kVoicesThenEffects{{{ArchiveSet::OggVoices, 3},
                                                            {ArchiveSet::OggVoices, 2},
                                                            {ArchiveSet::OggVoices, 1},
                                                            {ArchiveSet::SoundEffects, 0},
                                                            {ArchiveSet::SoundEffects, 1},
                                                            {ArchiveSet::SoundEffects, 2}}};
// The sound existence test: Ogg voices 1-3, wave sounds 1-5, effects 0-2.
inline constexpr std::array<SlotRef, 11> kSoundExists{{{ArchiveSet::OggVoices, 1},
                                                       {ArchiveSet::OggVoices, 2},
                                                       {ArchiveSet::OggVoices, 3},
                                                       {ArchiveSet::WaveSounds, 1},
                                                       {ArchiveSet::WaveSounds, 2},
                                                       {ArchiveSet::WaveSounds, 3},
                                                       {ArchiveSet::WaveSounds, 4},
                                                       {ArchiveSet::WaveSounds, 5},
                                                       {ArchiveSet::SoundEffects, 0},
                                                       {ArchiveSet::SoundEffects, 1},
                                                       {ArchiveSet::SoundEffects, 2}}};
// The music player (names "M05" ...).
inline constexpr std::array<SlotRef, 1> kMusic{{{ArchiveSet::Music, 1}}};
// The animation loader: animations, then animations 2.
inline constexpr std::array<SlotRef, 2> kAnimations{
    {{ArchiveSet::Animations, 1}, {ArchiveSet::Animations2, 1}}};
} // namespace search

} // namespace veskar
