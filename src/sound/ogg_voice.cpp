#include "sound/ogg_voice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vorbis/vorbisfile.h>

namespace veskar {

namespace {

// The entry as the decoder reads it: a position over bytes held elsewhere.
struct MemoryStream {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

std::size_t memoryRead(void* out, std::size_t size, std::size_t count, void* source) {
    auto* s = static_cast<MemoryStream*>(source);
    if (size == 0) return 0;
    const std::size_t want = std::min(count, (s->bytes.size() - s->pos) / size) * size;
    if (want == 0) return 0;
    std::memcpy(out, s->bytes.data() + s->pos, want);
    s->pos += want;
    return want / size;
}

int memorySeek(void* source, ogg_int64_t offset, int whence) {
    auto* s = static_cast<MemoryStream*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<ogg_int64_t>(s->pos);
    else if (whence == SEEK_END)
        base = static_cast<ogg_int64_t>(s->bytes.size());
    const ogg_int64_t to = base + offset;
    if (to < 0 || to > static_cast<ogg_int64_t>(s->bytes.size())) return -1;
    s->pos = static_cast<std::size_t>(to);
    return 0;
}

int memoryClose(void*) { return 0; } // the stream lives on the caller's stack

long memoryTell(void* source) { return static_cast<long>(static_cast<MemoryStream*>(source)->pos); }

// A voice longer than this (in samples per channel) is taken for a damaged header.
constexpr ogg_int64_t kMaxVoiceFrames = 48000LL * 60 * 10;

} // namespace

std::expected<DecodedSound, std::string> decodeOggVoice(std::span<const std::uint8_t> entry) {
    MemoryStream stream{entry, 0};
    OggVorbis_File file;
    const ov_callbacks callbacks{memoryRead, memorySeek, memoryClose, memoryTell};
    if (ov_open_callbacks(&stream, &file, nullptr, 0, callbacks) != 0)
        return std::unexpected(std::string("not an Ogg Vorbis stream"));
    const vorbis_info* info = ov_info(&file, -1);
    const ogg_int64_t total = ov_pcm_total(&file, -1);
    std::string problem;
    if (!info || (info->channels != 1 && info->channels != 2))
        problem = "Vorbis stream of " + std::to_string(info ? info->channels : 0) + " channels";
    else if (info->rate < 1000 || info->rate > 192000)
        problem = "Vorbis sample rate " + std::to_string(info->rate);
    else if (total < 0 || total > kMaxVoiceFrames)
        problem = "Vorbis length of " + std::to_string(total) + " samples";
    if (!problem.empty()) {
        ov_clear(&file);
        return std::unexpected(problem);
    }
    DecodedSound sound;
    sound.format = PcmFormat{info->channels, static_cast<int>(info->rate), 16};
    sound.pcm.assign(static_cast<std::size_t>(total) * static_cast<std::size_t>(info->channels) * 2, 0);
    std::size_t at = 0;
    int section = 0;
    while (at < sound.pcm.size()) {
        const long got =
            ov_read(&file, reinterpret_cast<char*>(sound.pcm.data() + at),
                    static_cast<int>(std::min<std::size_t>(sound.pcm.size() - at, 65536)), 0, 2, 1, &section);
        if (got <= 0) break;
        at += static_cast<std::size_t>(got);
    }
    ov_clear(&file);
    return sound;
}

std::size_t playedVoiceLength(std::span<const std::uint8_t> pcm) {
    if (pcm.size() <= 30000) return pcm.size();
    std::size_t pos = pcm.size() - 4;
    const auto silent = [&](std::size_t at) {
        return pcm[at] == 0 && pcm[at + 1] == 0 && pcm[at + 2] == 0 && pcm[at + 3] == 0;
    };
    while (pos > pcm.size() / 2 && silent(pos))
        pos -= 4;
    return pos;
}

} // namespace veskar
