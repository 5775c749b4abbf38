#include "support/ogg_encoder.h"

#include <vorbis/vorbisenc.h>

namespace veskar::test {

std::vector<std::uint8_t> encodeOgg(std::span<const std::int16_t> samples, int channels, int sampleRate) {
    std::vector<std::uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    vorbis_encode_init_vbr(&vi, channels, sampleRate, 0.3f);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    const auto put = [&](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page))
        put(page);

    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    const std::size_t chunk = 1024;
    for (std::size_t at = 0;; at += chunk) {
        const std::size_t n = at < frames ? std::min(chunk, frames - at) : 0;
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (std::size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] =
                        samples[(at + i) * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] /
                        32768.0f;
        }
        vorbis_analysis_wrote(&vd, static_cast<int>(n));
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page))
                    put(page);
            }
        }
        if (n == 0) break;
    }
    while (ogg_stream_flush(&os, &page))
        put(page);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

} // namespace veskar::test
