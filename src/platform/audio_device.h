#pragma once
// The sound output: a master level and eight numbered slots, each holding at
// most one buffer of 16-bit PCM that plays by itself. A slot holds either a
// plain buffer (played once or looped) or a stream: a ring of four quarter
// buffers that the engine refills behind the play position.
//
// Volumes are attenuations in hundredths of a decibel: 0 full level, -9999
// effectively silent; amplitude = 10^(volume / 2000).
//
// The desktop plays through OpenAL; headless runs use a device that plays in
// virtual time (and can write what it would have played to a file).

#include <cstddef>
#include <cstdint>
#include <span>

namespace veskar {

struct PcmFormat {
    int channels = 1; // 1 or 2
    int sampleRate = 22050;
    int bitsPerSample = 16; // only 16 is played
    bool operator==(const PcmFormat&) const = default;
    int frameBytes() const { return channels * bitsPerSample / 8; }
};

constexpr int kSoundSlotCount = 8;
constexpr int kSilentVolume = -9999;

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Whether any output device exists.
    virtual bool hasOutput() = 0;
    // Opens the output. False: the game runs silent and nothing else is called.
    virtual bool open() = 0;
    // Stops and releases every slot and the output.
    virtual void close() = 0;

    virtual int masterVolume() = 0;
    virtual void setMasterVolume(int volume) = 0;

    // Replaces whatever `slot` held by a silent buffer of `bytes` bytes (a
    // whole number of frames). False when it cannot be created: the slot is
    // then empty.
    virtual bool createBuffer(int slot, const PcmFormat& format, std::size_t bytes) = 0;
    // Copies PCM into the slot's buffer at byte `offset`; what does not fit is dropped.
    virtual void writeBuffer(int slot, std::size_t offset, std::span<const std::uint8_t> pcm) = 0;
    // Replaces whatever `slot` held by a ring of four quarters of
    // `quarterBytes` each, initially silent.
    virtual bool createStream(int slot, const PcmFormat& format, std::size_t quarterBytes) = 0;
    // Refills one quarter (0-3) of the ring; the engine refills them in
    // order, each after the play position has left it.
    virtual void writeQuarter(int slot, int quarter, std::span<const std::uint8_t> pcm) = 0;

    virtual void rewind(int slot) = 0;
    // A stream always loops.
    virtual void play(int slot, bool loop) = 0;
    virtual void stop(int slot) = 0;
    // Stops the slot and frees its buffer.
    virtual void release(int slot) = 0;
    virtual bool hasBuffer(int slot) = 0;
    virtual bool isPlaying(int slot) = 0;
    // Byte position of the play head in the buffer (in the whole ring for a stream).
    virtual std::size_t playPosition(int slot) = 0;
    virtual void setVolume(int slot, int volume) = 0;
    // Sample rate the slot plays at; its format's rate until set.
    virtual void setFrequency(int slot, int sampleRate) = 0;
};

} // namespace veskar
