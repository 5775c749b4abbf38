#pragma once
// The desktop's sound output through OpenAL Soft: one context, one source
// per slot, a buffer per plain slot and four queued buffers for a stream.
// OpenAL mixes on its own thread; everything here runs on the caller's.

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/audio_device.h"

struct ALCdevice_struct;
struct ALCcontext_struct;

namespace veskar {

class OpenAlAudioDevice : public AudioDevice {
public:
    // Opens the default output; without one the device reports no output.
    OpenAlAudioDevice();
    ~OpenAlAudioDevice() override;
    OpenAlAudioDevice(const OpenAlAudioDevice&) = delete;
    OpenAlAudioDevice& operator=(const OpenAlAudioDevice&) = delete;

    bool hasOutput() override { return context_ != nullptr; }
    bool open() override;
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
        unsigned source = 0;
        bool present = false;
        bool stream = false;
        PcmFormat format;
        // Plain slot: the PCM, uploaded when it plays after a change.
        std::vector<std::uint8_t> pcm;
        bool dirty = false;
        unsigned buffer = 0;
        // Stream: one buffer per quarter, the PCM of each, and the quarters
        // queued on the source, oldest first.
        std::size_t quarterBytes = 0;
        std::array<unsigned, 4> quarterBuffers{};
        std::array<std::vector<std::uint8_t>, 4> quarterPcm;
        std::deque<int> queued;
        bool streaming = false;
    };

    Slot* slotAt(int slot);
    void freeBuffers(Slot& s);
    void unqueueProcessed(Slot& s);
    int alFormat(const PcmFormat& format) const;

    ALCdevice_struct* device_ = nullptr;
    ALCcontext_struct* context_ = nullptr;
    bool open_ = false;
    int master_ = 0;
    std::array<Slot, kSoundSlotCount> slots_{};
};

} // namespace veskar
