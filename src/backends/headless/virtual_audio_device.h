#pragma once
// The headless sound device: it plays nothing but keeps the time of every
// slot on the virtual clock, so a sound lasts exactly its length. When asked
// to, it mixes what it would have played into one 44.1 kHz stereo track.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/audio_device.h"
#include "platform/clock.h"

namespace veskar {

class VirtualAudioDevice : public AudioDevice {
public:
    static constexpr int kMixRate = 44100;

    explicit VirtualAudioDevice(Clock& clock) : clock_(clock) {}

    // Keep the mix of everything played from now on.
    void startRecording() { recording_ = true; }
    // Mixes up to now and writes the track as a WAV file.
    std::optional<std::string> writeRecording(const std::filesystem::path& path);
    // The mix so far, interleaved left and right.
    const std::vector<std::int16_t>& recorded() {
        mixToNow();
        return mix_;
    }

    // What a slot holds, for tests: its PCM bytes, volume and whether it loops.
    std::size_t bufferBytes(int slot) const;
    int volume(int slot) const;
    bool looping(int slot) const;

    bool hasOutput() override { return true; }
    bool open() override { return true; }
    void close() override;
    int masterVolume() override { return master_; }
    void setMasterVolume(int volume) override;
    bool createBuffer(int slot, const PcmFormat& format, std::size_t bytes) override;
    void writeBuffer(int slot, std::size_t offset, std::span<const std::uint8_t> pcm) override;
    bool createStream(int slot, const PcmFormat& format, std::size_t quarterBytes) override;
    void writeQuarter(int slot, int quarter, std::span<const std::uint8_t> pcm) override;
    void rewind(int slot) override;
    void play(int slot, bool loop) override;
    void stop(int slot) override;
    void release(int slot) override;
    bool hasBuffer(int slot) override;
    bool isPlaying(int slot) override;
    std::size_t playPosition(int slot) override;
    void setVolume(int slot, int volume) override;
    void setFrequency(int slot, int sampleRate) override;

private:
    struct Slot {
        bool present = false;
        bool stream = false;
        PcmFormat format;
        std::vector<std::int16_t> samples;
        std::size_t quarterBytes = 0;
        bool playing = false;
        bool loop = false;
        int volume = 0;
        int rate = 0;
        // Frame position `originFrame` at mix frame `originMix`.
        std::uint64_t originFrame = 0;
        std::uint64_t originMix = 0;
        std::size_t frames() const {
            return format.channels > 0 ? samples.size() / static_cast<std::size_t>(format.channels) : 0;
        }
    };

    Slot* slotAt(int slot);
    std::uint64_t nowMix();
    // The slot's frame position at mix frame `at`, not wrapped.
    std::uint64_t frameAt(const Slot& s, std::uint64_t at) const;
    bool playingAt(const Slot& s, std::uint64_t at) const;
    // Fixes the slot's position at now, so that rate, start or content can change.
    void freeze(Slot& s);
    void mixToNow();
    void mixRange(std::uint64_t from, std::uint64_t to);

    Clock& clock_;
    std::array<Slot, kSoundSlotCount> slots_{};
    int master_ = 0;
    bool recording_ = false;
    std::uint64_t mixed_ = 0; // mix frames done
    std::vector<std::int16_t> mix_;
};

} // namespace veskar
