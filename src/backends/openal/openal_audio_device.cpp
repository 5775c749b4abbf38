#include "backends/openal/openal_audio_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <algorithm>
#include <cstring>

#include "sound/volume.h"

namespace veskar {

OpenAlAudioDevice::OpenAlAudioDevice() {
    device_ = alcOpenDevice(nullptr);
    if (!device_) return;
    context_ = alcCreateContext(device_, nullptr);
    if (!context_ || !alcMakeContextCurrent(context_)) {
        if (context_) alcDestroyContext(context_);
        context_ = nullptr;
        alcCloseDevice(device_);
        device_ = nullptr;
    }
}

OpenAlAudioDevice::~OpenAlAudioDevice() {
    close();
    if (context_) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
    }
    if (device_) alcCloseDevice(device_);
}

bool OpenAlAudioDevice::open() {
    if (!context_) return false;
    if (open_) return true;
    alGetError();
    for (Slot& s : slots_) {
        alGenSources(1, &s.source);
        if (alGetError() != AL_NO_ERROR) {
            close();
            return false;
        }
    }
    open_ = true;
    setMasterVolume(master_);
    return true;
}

void OpenAlAudioDevice::close() {
    for (Slot& s : slots_) {
        if (s.source) {
            alSourceStop(s.source);
            alSourcei(s.source, AL_BUFFER, 0);
            freeBuffers(s);
            alDeleteSources(1, &s.source);
        }
        s = Slot{};
    }
    open_ = false;
}

OpenAlAudioDevice::Slot* OpenAlAudioDevice::slotAt(int slot) {
    if (!open_ || slot < 0 || slot >= kSoundSlotCount) return nullptr;
    return &slots_[static_cast<std::size_t>(slot)];
}

int OpenAlAudioDevice::alFormat(const PcmFormat& format) const {
    return format.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
}

void OpenAlAudioDevice::freeBuffers(Slot& s) {
    if (s.buffer) alDeleteBuffers(1, &s.buffer);
    s.buffer = 0;
    for (unsigned& b : s.quarterBuffers)
        if (b) alDeleteBuffers(1, &b);
    s.quarterBuffers.fill(0);
}

void OpenAlAudioDevice::setMasterVolume(int volume) {
    master_ = std::clamp(volume, kSilentVolume, 0);
    if (context_) alListenerf(AL_GAIN, static_cast<float>(amplitudeOf(master_)));
}

bool OpenAlAudioDevice::createBuffer(int slot, const PcmFormat& format, std::size_t bytes) {
    Slot* s = slotAt(slot);
    if (!s) return false;
    release(slot);
    if (format.bitsPerSample != 16 || format.channels < 1 || format.channels > 2 || format.sampleRate <= 0)
        return false;
    alGetError();
    alGenBuffers(1, &s->buffer);
    if (alGetError() != AL_NO_ERROR) {
        s->buffer = 0;
        return false;
    }
    s->present = true;
    s->format = format;
    s->pcm.assign(bytes - bytes % static_cast<std::size_t>(format.frameBytes()), 0);
    s->dirty = true;
    alSourcef(s->source, AL_PITCH, 1.0f);
    return true;
}

void OpenAlAudioDevice::writeBuffer(int slot, std::size_t offset, std::span<const std::uint8_t> pcm) {
    Slot* s = slotAt(slot);
    if (!s || !s->present || s->stream || offset >= s->pcm.size()) return;
    const std::size_t n = std::min(pcm.size(), s->pcm.size() - offset);
    std::memcpy(s->pcm.data() + offset, pcm.data(), n);
    s->dirty = true;
}

bool OpenAlAudioDevice::createStream(int slot, const PcmFormat& format, std::size_t quarterBytes) {
    Slot* s = slotAt(slot);
    if (!s) return false;
    release(slot);
    if (format.bitsPerSample != 16 || format.channels < 1 || format.channels > 2 || format.sampleRate <= 0 ||
        quarterBytes == 0)
        return false;
    alGetError();
    alGenBuffers(4, s->quarterBuffers.data());
    if (alGetError() != AL_NO_ERROR) {
        s->quarterBuffers.fill(0);
        return false;
    }
    s->present = true;
    s->stream = true;
    s->format = format;
    s->quarterBytes = quarterBytes;
    for (auto& q : s->quarterPcm)
        q.assign(quarterBytes, 0);
    alSourcef(s->source, AL_PITCH, 1.0f);
    return true;
}

void OpenAlAudioDevice::unqueueProcessed(Slot& s) {
    ALint processed = 0;
    alGetSourcei(s.source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0 && !s.queued.empty()) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(s.source, 1, &buffer);
        s.queued.pop_front();
    }
}

void OpenAlAudioDevice::writeQuarter(int slot, int quarter, std::span<const std::uint8_t> pcm) {
    Slot* s = slotAt(slot);
    if (!s || !s->stream || quarter < 0 || quarter > 3) return;
    auto& data = s->quarterPcm[static_cast<std::size_t>(quarter)];
    std::memcpy(data.data(), pcm.data(), std::min(pcm.size(), data.size()));
    if (!s->streaming) return; // uploaded when it starts
    unqueueProcessed(*s);
    if (std::find(s->queued.begin(), s->queued.end(), quarter) != s->queued.end()) return;
    const ALuint buffer = s->quarterBuffers[static_cast<std::size_t>(quarter)];
    alBufferData(buffer, alFormat(s->format), data.data(), static_cast<ALsizei>(data.size()),
                 s->format.sampleRate);
    alSourceQueueBuffers(s->source, 1, &buffer);
    s->queued.push_back(quarter);
    // A stream that ran dry (the refill came too late) starts again.
    ALint state = 0;
    alGetSourcei(s->source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) alSourcePlay(s->source);
}

void OpenAlAudioDevice::rewind(int slot) {
    Slot* s = slotAt(slot);
    if (s && s->present) alSourceRewind(s->source);
}

void OpenAlAudioDevice::play(int slot, bool loop) {
    Slot* s = slotAt(slot);
    if (!s || !s->present) return;
    if (s->stream) {
        alSourceStop(s->source);
        alSourcei(s->source, AL_BUFFER, 0);
        s->queued.clear();
        alSourcei(s->source, AL_LOOPING, AL_FALSE);
        for (int q = 0; q < 4; ++q) {
            const ALuint buffer = s->quarterBuffers[static_cast<std::size_t>(q)];
            const auto& data = s->quarterPcm[static_cast<std::size_t>(q)];
            alBufferData(buffer, alFormat(s->format), data.data(), static_cast<ALsizei>(data.size()),
                         s->format.sampleRate);
            alSourceQueueBuffers(s->source, 1, &buffer);
            s->queued.push_back(q);
        }
        s->streaming = true;
        alSourcePlay(s->source);
        return;
    }
    if (s->dirty) {
        ALint offset = 0;
        alGetSourcei(s->source, AL_BYTE_OFFSET, &offset);
        alSourceStop(s->source);
        alSourcei(s->source, AL_BUFFER, 0);
        alBufferData(s->buffer, alFormat(s->format), s->pcm.data(), static_cast<ALsizei>(s->pcm.size()),
                     s->format.sampleRate);
        alSourcei(s->source, AL_BUFFER, static_cast<ALint>(s->buffer));
        if (offset > 0) alSourcei(s->source, AL_BYTE_OFFSET, offset);
        s->dirty = false;
    }
    alSourcei(s->source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(s->source);
}

void OpenAlAudioDevice::stop(int slot) {
    Slot* s = slotAt(slot);
    if (!s || !s->present) return;
    if (s->stream) {
        alSourceStop(s->source);
        s->streaming = false;
    } else {
        alSourcePause(s->source); // keeps the position, as a stopped buffer does
    }
}

void OpenAlAudioDevice::release(int slot) {
    Slot* s = slotAt(slot);
    if (!s) return;
    alSourceStop(s->source);
    alSourcei(s->source, AL_BUFFER, 0);
    freeBuffers(*s);
    const unsigned source = s->source;
    *s = Slot{};
    s->source = source;
}

bool OpenAlAudioDevice::hasBuffer(int slot) {
    Slot* s = slotAt(slot);
    return s && s->present;
}

bool OpenAlAudioDevice::isPlaying(int slot) {
    Slot* s = slotAt(slot);
    if (!s || !s->present) return false;
    if (s->stream) return s->streaming;
    ALint state = 0;
    alGetSourcei(s->source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

std::size_t OpenAlAudioDevice::playPosition(int slot) {
    Slot* s = slotAt(slot);
    if (!s || !s->present) return 0;
    ALint offset = 0;
    if (s->stream) {
        if (!s->streaming) return 0;
        unqueueProcessed(*s);
        if (s->queued.empty()) return 0;
        alGetSourcei(s->source, AL_BYTE_OFFSET, &offset);
        // The offset counts from the oldest queued buffer; one may have
        // finished between the two queries.
        const std::size_t at = static_cast<std::size_t>(std::max(offset, 0));
        const std::size_t index = std::min(at / s->quarterBytes, s->queued.size() - 1);
        return static_cast<std::size_t>(s->queued[index]) * s->quarterBytes + at % s->quarterBytes;
    }
    alGetSourcei(s->source, AL_BYTE_OFFSET, &offset);
    return static_cast<std::size_t>(std::max(offset, 0));
}

void OpenAlAudioDevice::setVolume(int slot, int volume) {
    Slot* s = slotAt(slot);
    if (s) alSourcef(s->source, AL_GAIN, static_cast<float>(amplitudeOf(volume)));
}

void OpenAlAudioDevice::setFrequency(int slot, int sampleRate) {
    Slot* s = slotAt(slot);
    if (!s || !s->present || sampleRate <= 0) return;
    alSourcef(s->source, AL_PITCH, static_cast<float>(sampleRate) / static_cast<float>(s->format.sampleRate));
}

} // namespace veskar
