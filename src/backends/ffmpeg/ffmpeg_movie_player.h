#pragma once
// Movies decoded with FFmpeg (libavformat, libavcodec, libswscale) on the
// caller's thread, one frame ahead of the time asked for.

#include <cstdint>
#include <vector>

#include "platform/movie_player.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace veskar {

class FfmpegMoviePlayer : public MoviePlayer {
public:
    FfmpegMoviePlayer() = default;
    ~FfmpegMoviePlayer() override;
    FfmpegMoviePlayer(const FfmpegMoviePlayer&) = delete;
    FfmpegMoviePlayer& operator=(const FfmpegMoviePlayer&) = delete;

    bool open(const std::filesystem::path& path, std::string& error) override;
    bool playing(std::uint32_t elapsedMs) override;
    bool drawFrame(std::uint32_t elapsedMs, Picture& screen) override;
    void close() override;

private:
    // Decodes the next frame into `into`; false at the end.
    bool decodeInto(AVFrame* into);
    double timeOf(const AVFrame* frame) const; // seconds
    void scaleInto(Picture& screen);

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVFrame* frame_ = nullptr; // the frame due now
    AVFrame* next_ = nullptr;  // decoded ahead
    bool haveNext_ = false;
    AVPacket* packet_ = nullptr;
    SwsContext* sws_ = nullptr;
    int stream_ = -1;
    double timeBase_ = 0;
    double duration_ = 0; // seconds
    bool ended_ = false;
    bool drainSent_ = false;
    std::int64_t shownPts_ = -1;
    std::vector<std::uint8_t> rgb_;
    int outW_ = 0, outH_ = 0;
};

} // namespace veskar
