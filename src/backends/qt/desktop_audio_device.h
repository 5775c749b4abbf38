#pragma once
// The desktop's sound output when none is given: no device, so the game runs
// silent and nothing waits for a voice.

#include "platform/audio_device.h"

namespace veskar {

class NoAudioDevice : public AudioDevice {
public:
    bool hasOutput() override { return false; }
    bool open() override { return false; }
    void close() override {}
    int masterVolume() override { return 0; }
    void setMasterVolume(int) override {}
    bool createBuffer(int, const PcmFormat&, std::size_t) override { return false; }
    void writeBuffer(int, std::size_t, std::span<const std::uint8_t>) override {}
    bool createStream(int, const PcmFormat&, std::size_t) override { return false; }
    void writeQuarter(int, int, std::span<const std::uint8_t>) override {}
    void rewind(int) override {}
    void play(int, bool) override {}
    void stop(int) override {}
    void release(int) override {}
    bool hasBuffer(int) override { return false; }
    bool isPlaying(int) override { return false; }
    std::size_t playPosition(int) override { return 0; }
    void setVolume(int, int) override {}
    void setFrequency(int, int) override {}
};

} // namespace veskar
