#pragma once
// Voices and sound effects: the eight slots of the sound output with their
// fixed roles, playing by name from the voice and effect archives, the
// player's switches and volumes, and the script's sound commands.
//
//   slot 0 voices (Ogg Vorbis), 1 effects, 2 looping effects, 3 the music
//   stream, 4 freed when music starts, 5 animation sounds, 6-7 unused.

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "archive/archives.h"
#include "sound/wady.h"

namespace veskar {

class Engine;
class AudioDevice;

enum SoundSlot : int {
    kVoiceSlot = 0,
    kEffectSlot = 1,
    kLoopSlot = 2,
    kStreamSlot = 3,
    kFreedSlot = 4,
    kAnimationSlot = 5
};

class Sound {
public:
    explicit Sound(Engine& engine);

    // What a saved game keeps.
    struct State {
        std::string LastVoiceName;
        std::string LoopSoundName;
    };
    State state;
    // The voice names of the current page, each followed by a blank.
    std::string PageVoiceList;

    bool SoundAvailable = false;
    bool SoundMuted = false;
    int MasterVolume = 0;

    void InitSound();
    void ReleaseSound();

    // Does nothing while skipping.
    void PlaySoundByName(std::string_view name);
    // 0 played (or dropped by a rule), 1 no archive holds the name or one cannot be read.
    int FindAndPlaySound(std::string_view name);
    bool SoundExists(std::string_view name) const;

    void StopVoice();
    // A left click on the game screen stops the voice unless the player keeps
    // voices, the page wait keeps them, or the click follows another closely.
    void stopVoiceForClick();
    void StopLoopSound();
    bool IsVoicePlaying();
    void ApplyVolumes();
    void MuteSound();
    void UnmuteSound();
    void ReleaseAllSlots();

    // Script commands (the argument text).
    void se(std::string_view args);
    void seloop(std::string_view args);
    void seoff();
    // Returns the name played, for the backlog's log line.
    std::string cv(std::string_view args);
    // The inline voice tag of a text line.
    void voiceTag(std::string_view name);
    // The "V" key and the context menu.
    void replayLastVoice();

    // Slot 5, for animations.
    void PlayAnimationSound(std::span<const std::uint8_t> entry);
    void StopAnimationSound();

    // Sounds are dropped while the game window is in the background; the
    // host tells which.
    void setWindowActive(bool active) { windowActive_ = active; }
    bool windowActive() const { return windowActive_; }

    // The volume a slot plays at.
    int slotVolume(int slot) const;
    // Says once per entry on stderr what is wrong with it.
    void reportDamaged(std::string_view archive, std::string_view name, std::string_view problem);

private:
    void playWadyOneShot(const EntryLocation& entry, std::string_view name,
                         std::span<const std::uint8_t> bytes, int slot);
    void playOggOneShot(const EntryLocation& entry, std::string_view name,
                        std::span<const std::uint8_t> bytes, int slot);
    bool playPcm(const DecodedSound& sound, std::size_t bytes, int slot, int volume, bool loop);
    std::string cleanName(std::string_view args) const;

    Engine& engine_;
    AudioDevice& audio_;
    bool windowActive_ = true;
    std::set<std::string> reported_;
};

// Names are kept in fields of 30 bytes.
constexpr std::size_t kSoundNameMax = 29;

} // namespace veskar
