#pragma once
// Numbered background music: a stream of WADY codes decoded a quarter at a
// time into a ring of four quarters that plays in slot 3, refilled by the
// 55 ms timer, looping from the piece's loop point, with a fade-out.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/archives.h"
#include "sound/entry_reader.h"
#include "sound/wady.h"

namespace veskar {

class Engine;
class AudioDevice;

class Music {
public:
    explicit Music(Engine& engine);

    // S003 and S005.
    int RequestedMusic() const;
    int CurrentMusic() const;

    // n < 0 fades out over -n steps a tick.
    void PlayMusicNumber(int n);
    // The music switch changed: music 0, then the last request again.
    void RestartMusic();
    void StartMusic(int n);
    // Starts the stream of the entry (of any archive).
    void StartStream(const EntryLocation& entry, std::string_view name);
    void StopStream();
    void StartFadeOut(int step);
    // First thing on every timer tick.
    void MusicTick();
    // Timer: a start postponed while the window was in the background.
    void deferredMusicTick();
    // Animations stream their sound track from their own file.
    void StartAnimationStream(const std::filesystem::path& file, std::uint64_t offset, std::uint64_t size);
    void StopAnimationStream();
    // Sets the stream's slot to the level the music plays at now.
    void applyStreamVolume();

    // 0 none, 1 music, 2 an animation's sound track.
    int StreamSource = 0;
    int MusicLevel = 0;
    int FadeLevel = 0;
    int FadeStep = 0;
    int DeferredMusicNumber = 0;

private:
    bool startFrom(int source, std::string_view what);
    // Decodes the next quarter's codes into `out`; false when the file failed.
    bool decodeQuarter(std::span<std::int16_t> out);
    void failStream(std::string_view problem);

    Engine& engine_;
    AudioDevice& audio_;
    EntryReader reader_;
    std::string streamName_;
    WadyHeader header_;
    std::size_t QuarterBytes = 0;
    std::uint64_t DataEnd = 0; // from the entry's start
    std::uint64_t LoopStart = 0;
    std::uint64_t StreamReadPos = 0;
    std::array<std::int16_t, 2> predictors_{};
    int NextQuarter = 0;
    int ticks_ = 0;
    std::vector<std::uint8_t> codes_;
    std::vector<std::int16_t> samples_;
    std::vector<std::uint8_t> pcm_;
};

} // namespace veskar
