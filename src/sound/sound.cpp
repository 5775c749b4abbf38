#include "sound/sound.h"

#include "core/sjis.h"
#include "platform/audio_device.h"
#include "script/registers.h"
#include "shell/engine.h"
#include "sound/ogg_voice.h"

namespace veskar {

Sound::Sound(Engine& engine) : engine_(engine), audio_(engine.audio) {}

void Sound::InitSound() {
    if (SoundAvailable) return;
    if (!engine_.run.HasWaveOut || !audio_.open()) {
        SoundAvailable = false; // a silent game, and no message
        return;
    }
    MasterVolume = audio_.masterVolume();
    SoundAvailable = true;
}

void Sound::ReleaseSound() {
    if (!SoundAvailable) return;
    audio_.close();
    SoundAvailable = false;
}

void Sound::PlaySoundByName(std::string_view name) {
    if (engine_.run.SkipActive) return;
    FindAndPlaySound(name);
}

int Sound::FindAndPlaySound(std::string_view name) {
    if (!SoundAvailable) return 0;
    if (!windowActive_ && !equalsIgnoreAsciiCase(name, "SAMPLECV")) return 0;
    const std::string upper = upperAscii(name);
    const Settings& settings = engine_.settings;
    auto& archives = engine_.archives;
    if (settings.CV1 != 0) {
        for (const SlotRef& ref : search::kVoices) {
            if (ref.slot == 2 && settings.CV2 == 0) continue;
            const SlotRef one[1] = {ref};
            const auto found = archives.FindEntry(one, upper);
            if (!found) continue;
            const auto bytes = archives.readEntry(*found);
            if (!bytes) return 1;
            playOggOneShot(*found, upper, *bytes, kVoiceSlot);
            return 0;
        }
    }
    if (settings.SE_ENA == 0) return 1;
    const auto found = archives.FindEntry(search::kEffects, upper);
    if (!found) return 1;
    const auto bytes = archives.readEntry(*found);
    if (!bytes) return 1;
    if (found->slot == 2) {
        playWadyOneShot(*found, upper, *bytes, kLoopSlot);
        state.LoopSoundName = cutText(upper, kSoundNameMax);
    } else {
        playWadyOneShot(*found, upper, *bytes, kEffectSlot);
    }
    return 0;
}

bool Sound::SoundExists(std::string_view name) const {
    return engine_.archives.FindEntry(search::kSoundExists, upperAscii(name)).has_value();
}

void Sound::reportDamaged(std::string_view archive, std::string_view name, std::string_view problem) {
    std::string key = std::string(archive) + '/' + std::string(name);
    if (!reported_.insert(key).second) return;
    engine_.diagnostics.report("sound " + cp932ToUtf8(name) + " in " + std::string(archive) +
                               " is damaged: " + std::string(problem) + "; it is not played");
}

bool Sound::playPcm(const DecodedSound& sound, std::size_t bytes, int slot, int volume, bool loop) {
    if (!audio_.createBuffer(slot, sound.format, bytes)) return false; // dropped
    audio_.writeBuffer(slot, 0, std::span<const std::uint8_t>(sound.pcm).first(bytes));
    audio_.rewind(slot);
    audio_.setVolume(slot, volume);
    audio_.play(slot, loop);
    return true;
}

void Sound::playWadyOneShot(const EntryLocation& entry, std::string_view name,
                            std::span<const std::uint8_t> bytes, int slot) {
    if (bytes.size() < 4 || std::string_view(reinterpret_cast<const char*>(bytes.data()), 4) != "WADY")
        return; // not a sound of ours: dropped without a word
    auto decoded = decodeWadyOneShotEntry(bytes);
    if (!decoded) {
        reportDamaged(entry.path.filename().string(), name, decoded.error());
        return;
    }
    playPcm(*decoded, decoded->pcm.size(), slot, slotVolume(slot), slot == kLoopSlot);
}

void Sound::playOggOneShot(const EntryLocation& entry, std::string_view name,
                           std::span<const std::uint8_t> bytes, int slot) {
    auto decoded = decodeOggVoice(bytes);
    if (!decoded) {
        reportDamaged(entry.path.filename().string(), name, decoded.error());
        return;
    }
    const int volume = slot >= 6 ? engine_.settings.Vol[3] : engine_.settings.Vol[0];
    playPcm(*decoded, playedVoiceLength(decoded->pcm), slot, volume, false);
}

int Sound::slotVolume(int slot) const {
    const auto& vol = engine_.settings.Vol;
    switch (slot) {
    case 0:
        return vol[0];
    case 1:
    case 2:
        return vol[1];
    case 3:
    case 4:
    case 5:
        return vol[2];
    default:
        return vol[3];
    }
}

void Sound::StopVoice() {
    if (SoundAvailable) audio_.stop(kVoiceSlot);
}

void Sound::stopVoiceForClick() {
    const RunState& run = engine_.run;
    if (engine_.settings.CV_THROUGH != 0) return;
    if (!run.InEffect && (run.ClickWaitKind == 4 || run.ClickGuard >= 3)) return;
    StopVoice();
}

void Sound::StopLoopSound() {
    if (SoundAvailable) audio_.release(kLoopSlot);
}

bool Sound::IsVoicePlaying() {
    if (!SoundAvailable) return false;
    return audio_.isPlaying(kVoiceSlot) || audio_.isPlaying(kEffectSlot);
}

void Sound::ApplyVolumes() {
    if (!SoundAvailable) return;
    audio_.setMasterVolume(SoundMuted ? kSilentVolume : MasterVolume);
    for (int slot = 0; slot < kSoundSlotCount; ++slot) {
        // The stream's level is the music's, which a fade may have lowered.
        if (slot == kStreamSlot || slot == kAnimationSlot) continue;
        audio_.setVolume(slot, slotVolume(slot));
    }
    engine_.music.applyStreamVolume();
}

void Sound::MuteSound() {
    SoundMuted = true;
    ApplyVolumes();
}

void Sound::UnmuteSound() {
    SoundMuted = false;
    ApplyVolumes();
}

void Sound::ReleaseAllSlots() {
    if (!SoundAvailable) return;
    for (int slot = 0; slot < kSoundSlotCount; ++slot)
        audio_.release(slot);
}

std::string Sound::cleanName(std::string_view args) const {
    while (!args.empty() && (args.back() == ' ' || args.back() == '\t' || args.back() == '\r'))
        args.remove_suffix(1);
    while (!args.empty() && args.front() == ' ')
        args.remove_prefix(1);
    return cutText(args, kSoundNameMax);
}

void Sound::se(std::string_view args) {
    if (engine_.run.SkipActive && engine_.settings.EFX_CUT != 0) return;
    const std::string name = upperAscii(cleanName(args));
    if (name.size() >= 4 && name.starts_with("SEH")) {
        const int c = name[3] - '0';
        if (c >= 0 && c <= 4 && engine_.settings.SE[c] == 0) return;
    }
    FindAndPlaySound(name);
}

void Sound::seloop(std::string_view args) {
    std::string name = upperAscii(cleanName(args));
    if (name.size() >= 4 && name.starts_with("SEH")) {
        const int c = name[3] - '0';
        if (c >= 0 && c <= 4 && engine_.settings.SE[c] == 0) return;
        // Category 4 sounds come in recorded variants, picked by the group's level.
        if (c == 4 && name.size() >= 11) {
            const int g = name[8] - '0';
            if (g >= 1 && g <= 5) name[10] = static_cast<char>(name[10] + engine_.settings.SE_LVL[g - 1]);
        }
    }
    FindAndPlaySound(name);
}

void Sound::seoff() {
    state.LoopSoundName.clear();
    StopLoopSound();
}

std::string Sound::cv(std::string_view args) {
    std::string name = cleanName(args);
    if (engine_.vars.S(reg::kNamesChanged) != 0 && name.size() < kSoundNameMax && SoundExists(name + "X"))
        name += "X";
    voiceTag(name);
    return name;
}

void Sound::voiceTag(std::string_view raw) {
    const std::string name = cleanName(raw);
    PageVoiceList += name;
    PageVoiceList += ' ';
    PlaySoundByName(name);
    state.LastVoiceName = name;
}

void Sound::replayLastVoice() {
    if (!state.LastVoiceName.empty()) PlaySoundByName(state.LastVoiceName);
}

void Sound::PlayAnimationSound(std::span<const std::uint8_t> entry) {
    if (!SoundAvailable) return;
    auto decoded = decodeWadyOneShotEntry(entry);
    if (!decoded) {
        reportDamaged("an animation", "sound", decoded.error());
        return;
    }
    playPcm(*decoded, decoded->pcm.size(), kAnimationSlot, engine_.settings.Vol[1], false);
}

void Sound::StopAnimationSound() {
    if (SoundAvailable) audio_.release(kAnimationSlot);
}

} // namespace veskar
