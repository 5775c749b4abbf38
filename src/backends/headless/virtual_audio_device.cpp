#include "backends/headless/virtual_audio_device.h"

#include <algorithm>
#include <cstring>

#include "core/files.h"
#include "sound/volume.h"
#include "sound/wav_file.h"

namespace veskar {

VirtualAudioDevice::Slot* VirtualAudioDevice::slotAt(int slot) {
    if (slot < 0 || slot >= kSoundSlotCount) return nullptr;
    mixToNow();
    return &slots_[static_cast<std::size_t>(slot)];
}

// Virtual milliseconds as mix frames; the clock's 32-bit wrap is far beyond any run.
std::uint64_t VirtualAudioDevice::nowMix() {
    return static_cast<std::uint64_t>(clock_.tickCount()) * kMixRate / 1000;
}

std::uint64_t VirtualAudioDevice::frameAt(const Slot& s, std::uint64_t at) const {
    if (!s.playing || at <= s.originMix) return s.originFrame;
    return s.originFrame + (at - s.originMix) * static_cast<std::uint64_t>(s.rate) / kMixRate;
}

bool VirtualAudioDevice::playingAt(const Slot& s, std::uint64_t at) const {
    if (!s.present || !s.playing) return false;
    return s.loop || frameAt(s, at) < s.frames();
}

void VirtualAudioDevice::freeze(Slot& s) {
    const std::uint64_t now = nowMix();
    s.originFrame = frameAt(s, now);
    if (s.loop && s.frames() > 0) s.originFrame %= s.frames();
    s.originMix = now;
}

void VirtualAudioDevice::mixToNow() {
    const std::uint64_t now = nowMix();
    if (!recording_) {
        mixed_ = now;
        return;
    }
    // A second at a time, so a long stretch without calls needs little memory.
    while (mixed_ < now) {
        const std::uint64_t end = std::min<std::uint64_t>(now, mixed_ + kMixRate);
        mixRange(mixed_, end);
        mixed_ = end;
    }
}

void VirtualAudioDevice::mixRange(std::uint64_t from, std::uint64_t to) {
    const std::size_t start = mix_.size();
    const std::size_t count = static_cast<std::size_t>(to - from) * 2;
    mix_.resize(start + count, 0);
    std::vector<double> acc(count, 0.0);
    const double masterGain = amplitudeOf(master_);
    for (const Slot& s : slots_) {
        if (!s.present || !s.playing || s.frames() == 0) continue;
        const double gain = masterGain * amplitudeOf(s.volume);
        const std::size_t frames = s.frames();
        for (std::uint64_t m = from; m < to; ++m) {
            std::uint64_t f = frameAt(s, m);
            if (f >= frames) {
                if (!s.loop) break;
                f %= frames;
            }
            const std::size_t i = static_cast<std::size_t>(m - from) * 2;
            if (s.format.channels == 2) {
                acc[i] += s.samples[f * 2] * gain;
                acc[i + 1] += s.samples[f * 2 + 1] * gain;
            } else {
                acc[i] += s.samples[f] * gain;
                acc[i + 1] += s.samples[f] * gain;
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i)
        mix_[start + i] = static_cast<std::int16_t>(std::clamp(acc[i], -32768.0, 32767.0));
}

std::optional<std::string> VirtualAudioDevice::writeRecording(const std::filesystem::path& path) {
    mixToNow();
    std::vector<std::uint8_t> pcm(mix_.size() * 2);
    for (std::size_t i = 0; i < mix_.size(); ++i) {
        const auto v = static_cast<std::uint16_t>(mix_[i]);
        pcm[i * 2] = static_cast<std::uint8_t>(v & 0xFF);
        pcm[i * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    const auto wav = encodeWav(PcmFormat{2, kMixRate, 16}, pcm);
    auto written = writeFileAtomically(path, wav);
    if (!written) return written.error();
    return std::nullopt;
}

std::size_t VirtualAudioDevice::bufferBytes(int slot) const {
    if (slot < 0 || slot >= kSoundSlotCount) return 0;
    return slots_[static_cast<std::size_t>(slot)].samples.size() * 2;
}

int VirtualAudioDevice::volume(int slot) const {
    if (slot < 0 || slot >= kSoundSlotCount) return kSilentVolume;
    return slots_[static_cast<std::size_t>(slot)].volume;
}

bool VirtualAudioDevice::looping(int slot) const {
    if (slot < 0 || slot >= kSoundSlotCount) return false;
    const Slot& s = slots_[static_cast<std::size_t>(slot)];
    return s.playing && s.loop;
}

void VirtualAudioDevice::close() {
    mixToNow();
    for (Slot& s : slots_)
        s = Slot{};
}

void VirtualAudioDevice::setMasterVolume(int volume) {
    mixToNow();
    master_ = std::clamp(volume, kSilentVolume, 0);
}

bool VirtualAudioDevice::createBuffer(int slot, const PcmFormat& format, std::size_t bytes) {
    Slot* s = slotAt(slot);
    if (!s || format.channels < 1 || format.channels > 2 || format.bitsPerSample != 16 ||
        format.sampleRate <= 0)
        return false;
    const int volume = s->volume;
    *s = Slot{};
    s->present = true;
    s->format = format;
    s->rate = format.sampleRate;
    s->volume = volume;
    s->samples.assign(bytes / 2 / static_cast<std::size_t>(format.channels) * format.channels, 0);
    return true;
}

void VirtualAudioDevice::writeBuffer(int slot, std::size_t offset, std::span<const std::uint8_t> pcm) {
    Slot* s = slotAt(slot);
    if (!s || !s->present) return;
    const std::size_t bytes = s->samples.size() * 2;
    if (offset >= bytes) return;
    const std::size_t n = std::min(pcm.size(), bytes - offset) / 2;
    auto* out = reinterpret_cast<std::uint8_t*>(s->samples.data()) + (offset & ~std::size_t{1});
    for (std::size_t i = 0; i < n; ++i) {
        const auto v = static_cast<std::int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
        std::memcpy(out + 2 * i, &v, 2);
    }
}

bool VirtualAudioDevice::createStream(int slot, const PcmFormat& format, std::size_t quarterBytes) {
    if (!createBuffer(slot, format, quarterBytes * 4)) return false;
    Slot& s = slots_[static_cast<std::size_t>(slot)];
    s.stream = true;
    s.quarterBytes = quarterBytes;
    return true;
}

void VirtualAudioDevice::writeQuarter(int slot, int quarter, std::span<const std::uint8_t> pcm) {
    Slot* s = slotAt(slot);
    if (!s || !s->stream || quarter < 0 || quarter > 3) return;
    writeBuffer(slot, static_cast<std::size_t>(quarter) * s->quarterBytes,
                pcm.first(std::min(pcm.size(), s->quarterBytes)));
}

void VirtualAudioDevice::rewind(int slot) {
    Slot* s = slotAt(slot);
    if (!s || !s->present) return;
    s->originFrame = 0;
    s->originMix = nowMix();
}

void VirtualAudioDevice::play(int slot, bool loop) {
    Slot* s = slotAt(slot);
    if (!s || !s->present) return;
    freeze(*s);
    if (!s->loop && s->originFrame >= s->frames()) s->originFrame = s->frames();
    s->loop = loop || s->stream;
    if (s->loop && s->frames() > 0) s->originFrame %= s->frames();
    s->playing = true;
}

void VirtualAudioDevice::stop(int slot) {
    Slot* s = slotAt(slot);
    if (!s || !s->present) return;
    freeze(*s);
    s->playing = false;
}

void VirtualAudioDevice::release(int slot) {
    Slot* s = slotAt(slot);
    if (!s) return;
    const int volume = s->volume;
    *s = Slot{};
    s->volume = volume;
}

bool VirtualAudioDevice::hasBuffer(int slot) {
    Slot* s = slotAt(slot);
    return s && s->present;
}

bool VirtualAudioDevice::isPlaying(int slot) {
    Slot* s = slotAt(slot);
    return s && playingAt(*s, nowMix());
}

std::size_t VirtualAudioDevice::playPosition(int slot) {
    Slot* s = slotAt(slot);
    if (!s || !s->present || s->frames() == 0) return 0;
    std::uint64_t f = frameAt(*s, nowMix());
    f = s->loop ? f % s->frames() : std::min<std::uint64_t>(f, s->frames());
    return static_cast<std::size_t>(f) * static_cast<std::size_t>(s->format.frameBytes());
}

void VirtualAudioDevice::setVolume(int slot, int volume) {
    Slot* s = slotAt(slot);
    if (s) s->volume = std::clamp(volume, kSilentVolume, 0);
}

void VirtualAudioDevice::setFrequency(int slot, int sampleRate) {
    Slot* s = slotAt(slot);
    if (!s || !s->present || sampleRate <= 0) return;
    freeze(*s);
    s->rate = sampleRate;
}

} // namespace veskar
