#include "sound/music.h"

#include <cstdio>

#include "platform/audio_device.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

namespace {
constexpr int kFadeFloor = -3000;
}

Music::Music(Engine& engine) : engine_(engine), audio_(engine.audio) {}

int Music::RequestedMusic() const { return engine_.vars.S(reg::kRequestedMusic); }
int Music::CurrentMusic() const { return engine_.vars.S(reg::kCurrentMusic); }

void Music::PlayMusicNumber(int n) {
    int fadeStep = 0;
    if (n < 0) {
        fadeStep = -n;
        n = 0;
    }
    auto& vars = engine_.vars;
    vars.S(reg::kRequestedMusic) = n;
    if (n == vars.S(reg::kCurrentMusic)) return;
    if (engine_.settings.BGM_ENA != 0) {
        if (n > 0)
            StartMusic(n);
        else if (fadeStep > 0)
            StartFadeOut(fadeStep);
        else
            StopStream();
        vars.S(reg::kCurrentMusic) = n;
    } else {
        if (vars.S(reg::kCurrentMusic) != 0) StopStream();
        vars.S(reg::kCurrentMusic) = 0;
    }
}

void Music::RestartMusic() {
    const int previous = RequestedMusic();
    PlayMusicNumber(0);
    PlayMusicNumber(previous);
}

void Music::StartMusic(int n) {
    if (!engine_.sound.windowActive()) {
        DeferredMusicNumber = n;
        engine_.run.DeferredMusic = 3;
        return;
    }
    engine_.run.DeferredMusic = 0;
    char name[16];
    std::snprintf(name, sizeof name, "M%02d", n);
    const auto entry = engine_.archives.FindEntry(search::kMusic, name);
    if (entry) StartStream(*entry, name); // an absent piece plays nothing
}

void Music::deferredMusicTick() {
    auto& deferred = engine_.run.DeferredMusic;
    if (deferred <= 0) return;
    if (--deferred == 0) StartMusic(DeferredMusicNumber);
}

void Music::StartStream(const EntryLocation& entry, std::string_view name) {
    if (!engine_.sound.SoundAvailable) return;
    engine_.frameTimer.FrameTimerStart();
    streamName_ = std::string(name);
    if (!reader_.open(entry.path, entry.offset, entry.size)) {
        StopStream();
        return; // a file that cannot be opened plays nothing
    }
    startFrom(1, entry.path.filename().string());
}

void Music::StartAnimationStream(const std::filesystem::path& file, std::uint64_t offset,
                                 std::uint64_t size) {
    if (!engine_.sound.SoundAvailable) return;
    engine_.frameTimer.FrameTimerStart();
    StopStream();
    streamName_ = "sound track";
    if (!reader_.open(file, offset, size)) return;
    startFrom(2, file.filename().string());
}

bool Music::startFrom(int source, std::string_view what) {
    MusicLevel = engine_.settings.Vol[2];
    FadeLevel = 0;
    audio_.release(kStreamSlot);
    audio_.release(kFreedSlot);
    StreamSource = 0;

    std::array<std::uint8_t, kWadyHeaderSize> head{};
    if (!reader_.read(0, head) || std::string_view(reinterpret_cast<const char*>(head.data()), 4) != "WADY") {
        reader_.close();
        return false;
    }
    auto header = checkWadyStream(head, reader_.size());
    if (!header) {
        engine_.sound.reportDamaged(what, streamName_, header.error());
        reader_.close();
        return false;
    }
    header_ = *header;
    const std::size_t c = static_cast<std::size_t>(header_.channels);
    QuarterBytes = static_cast<std::size_t>(header_.quarterFrames) * c * 2;
    DataEnd = kWadyHeaderSize + header_.codeSize;
    LoopStart = kWadyHeaderSize + header_.loopStart;
    StreamReadPos = kWadyHeaderSize;
    predictors_ = {0, 0};
    codes_.resize(static_cast<std::size_t>(header_.quarterFrames) * c);
    samples_.resize(codes_.size());
    pcm_.resize(QuarterBytes);
    StreamSource = source;

    if (!audio_.createStream(kStreamSlot, header_.format, QuarterBytes)) {
        StreamSource = 0;
        reader_.close();
        return false;
    }
    for (int q = 0; q < 4; ++q) {
        if (!decodeQuarter(samples_)) return false;
        audio_.writeQuarter(kStreamSlot, q, pcm_);
    }
    audio_.rewind(kStreamSlot);
    audio_.setVolume(kStreamSlot, MusicLevel);
    audio_.play(kStreamSlot, true);
    NextQuarter = 0;
    return true;
}

// One quarter of codes from the read position; where the codes end, the
// piece goes on from its loop start with the predictors saved for it.
bool Music::decodeQuarter(std::span<std::int16_t> out) {
    const std::size_t c = static_cast<std::size_t>(header_.channels);
    std::size_t done = 0;
    auto& S057 = engine_.vars.S(reg::kMusicOnce);
    while (done < codes_.size()) {
        if (StreamReadPos >= DataEnd) {
            predictors_ = header_.loopPredictors;
            if (S057 == 1) S057 = 2; // a piece meant to play once falls silent here
            StreamReadPos = LoopStart;
        }
        const std::size_t take =
            static_cast<std::size_t>(std::min<std::uint64_t>(codes_.size() - done, DataEnd - StreamReadPos));
        const std::span<std::uint8_t> chunk(codes_.data() + done, take);
        if (!reader_.read(StreamReadPos, chunk)) {
            failStream("the file could not be read");
            return false;
        }
        DecodeWadyStream(chunk, out.subspan(done, take), header_.stepMultiplier, predictors_,
                         header_.channels, take / c, S057 >= 2);
        StreamReadPos += take;
        done += take;
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto v = static_cast<std::uint16_t>(out[i]);
        pcm_[2 * i] = static_cast<std::uint8_t>(v & 0xFF);
        pcm_[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return true;
}

void Music::failStream(std::string_view problem) {
    engine_.diagnostics.report("music " + streamName_ + " stops: " + std::string(problem));
    StopStream();
}

void Music::StopStream() {
    if (StreamSource != 0) {
        StreamSource = 0;
        if (engine_.sound.SoundAvailable) audio_.release(kStreamSlot);
    }
    reader_.close();
}

void Music::StopAnimationStream() {
    StreamSource = 0;
    if (engine_.sound.SoundAvailable) audio_.release(kStreamSlot);
    reader_.close();
}

void Music::StartFadeOut(int step) {
    FadeLevel = MusicLevel - 1;
    FadeStep = step;
}

void Music::MusicTick() {
    Sound& sound = engine_.sound;
    if (!sound.SoundAvailable || StreamSource == 0 || !audio_.hasBuffer(kStreamSlot)) return;
    if (!sound.SoundMuted && ++ticks_ % 8 == 0) audio_.setMasterVolume(sound.MasterVolume);
    if (FadeLevel != 0) {
        FadeLevel -= FadeStep;
        if (FadeLevel < kFadeFloor) {
            StopStream();
            FadeLevel = 0;
            return;
        }
        MusicLevel = FadeLevel;
    } else {
        MusicLevel = engine_.settings.Vol[2];
    }
    const int q = static_cast<int>(audio_.playPosition(kStreamSlot) / QuarterBytes) & 3;
    while (q != NextQuarter) {
        if (!decodeQuarter(samples_)) return;
        audio_.writeQuarter(kStreamSlot, NextQuarter, pcm_);
        NextQuarter = (NextQuarter + 1) & 3;
    }
    applyStreamVolume();
}

void Music::applyStreamVolume() {
    if (!engine_.sound.SoundAvailable) return;
    audio_.setVolume(kStreamSlot, MusicLevel);
    audio_.setVolume(kAnimationSlot, MusicLevel);
}

} // namespace veskar
