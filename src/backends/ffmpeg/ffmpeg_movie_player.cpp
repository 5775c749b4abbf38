#include "backends/ffmpeg/ffmpeg_movie_player.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>

namespace veskar {

namespace {
constexpr int kScreenW = 800, kScreenH = 600;

std::string avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}
} // namespace

FfmpegMoviePlayer::~FfmpegMoviePlayer() { close(); }

bool FfmpegMoviePlayer::open(const std::filesystem::path& path, std::string& error) {
    close();
    int rc = avformat_open_input(&format_, path.string().c_str(), nullptr, nullptr);
    if (rc < 0) {
        error = avError(rc);
        format_ = nullptr;
        return false;
    }
    if ((rc = avformat_find_stream_info(format_, nullptr)) < 0) {
        error = avError(rc);
        close();
        return false;
    }
    const AVCodec* decoder = nullptr;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (stream_ < 0 || !decoder) {
        error = "no video stream that can be decoded";
        close();
        return false;
    }
    AVStream* st = format_->streams[stream_];
    codec_ = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec_, st->codecpar);
    codec_->thread_count = 1; // the same frames on every run
    if ((rc = avcodec_open2(codec_, decoder, nullptr)) < 0 || codec_->width <= 0 || codec_->height <= 0) {
        error = rc < 0 ? avError(rc) : "video of no size";
        close();
        return false;
    }
    timeBase_ = av_q2d(st->time_base);
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
        duration_ = static_cast<double>(st->duration) * timeBase_;
    else if (format_->duration > 0)
        duration_ = static_cast<double>(format_->duration) / AV_TIME_BASE;
    frame_ = av_frame_alloc();
    next_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    // Scaled to fit 800 x 600 with the shape kept.
    const double scale = std::min(static_cast<double>(kScreenW) / codec_->width,
                                  static_cast<double>(kScreenH) / codec_->height);
    outW_ = std::max(1, static_cast<int>(codec_->width * scale));
    outH_ = std::max(1, static_cast<int>(codec_->height * scale));
    if (!decodeInto(frame_)) {
        error = "no frame could be decoded";
        close();
        return false;
    }
    haveNext_ = decodeInto(next_);
    return true;
}

void FfmpegMoviePlayer::close() {
    if (sws_) sws_freeContext(sws_);
    sws_ = nullptr;
    if (frame_) av_frame_free(&frame_);
    if (next_) av_frame_free(&next_);
    if (packet_) av_packet_free(&packet_);
    if (codec_) avcodec_free_context(&codec_);
    if (format_) avformat_close_input(&format_);
    stream_ = -1;
    duration_ = 0;
    haveNext_ = ended_ = drainSent_ = false;
    shownPts_ = -1;
}

bool FfmpegMoviePlayer::decodeInto(AVFrame* into) {
    if (!codec_ || ended_) return false;
    for (;;) {
        const int rc = avcodec_receive_frame(codec_, into);
        if (rc == 0) return true;
        if (rc != AVERROR(EAGAIN)) {
            ended_ = true;
            return false;
        }
        if (drainSent_) {
            ended_ = true;
            return false;
        }
        if (av_read_frame(format_, packet_) < 0) {
            avcodec_send_packet(codec_, nullptr);
            drainSent_ = true;
            continue;
        }
        if (packet_->stream_index == stream_) avcodec_send_packet(codec_, packet_);
        av_packet_unref(packet_);
    }
}

double FfmpegMoviePlayer::timeOf(const AVFrame* frame) const {
    const std::int64_t pts = frame->best_effort_timestamp;
    return pts == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(pts) * timeBase_;
}

bool FfmpegMoviePlayer::playing(std::uint32_t elapsedMs) {
    if (!codec_) return false;
    const double t = elapsedMs / 1000.0;
    if (duration_ > 0) return t < duration_;
    return !ended_;
}

void FfmpegMoviePlayer::scaleInto(Picture& screen) {
    sws_ =
        sws_getCachedContext(sws_, frame_->width, frame_->height, static_cast<AVPixelFormat>(frame_->format),
                             outW_, outH_, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!sws_) return;
    rgb_.resize(static_cast<std::size_t>(outW_) * outH_ * 3);
    std::uint8_t* planes[1] = {rgb_.data()};
    const int strides[1] = {outW_ * 3};
    sws_scale(sws_, frame_->data, frame_->linesize, 0, frame_->height, planes, strides);
    screen.fill(0);
    const int x0 = (kScreenW - outW_) / 2, y0 = (kScreenH - outH_) / 2;
    for (int y = 0; y < outH_ && y0 + y < screen.height(); ++y)
        std::copy_n(rgb_.data() + static_cast<std::size_t>(y) * outW_ * 3,
                    static_cast<std::size_t>(outW_) * 3, screen.row(y0 + y) + x0 * 3);
}

bool FfmpegMoviePlayer::drawFrame(std::uint32_t elapsedMs, Picture& screen) {
    if (!codec_) return false;
    const double t = elapsedMs / 1000.0;
    while (haveNext_ && timeOf(next_) <= t) {
        std::swap(frame_, next_);
        haveNext_ = decodeInto(next_);
    }
    const std::int64_t pts = frame_->best_effort_timestamp;
    if (pts == shownPts_) return false;
    shownPts_ = pts;
    scaleInto(screen);
    return true;
}

} // namespace veskar
