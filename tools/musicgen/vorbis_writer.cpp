#include "tools/musicgen/vorbis_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace music {

namespace {

void Append(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
}

} // namespace

bool EncodeVorbis(const float* interleaved, std::size_t frames, int channels, long rate, float quality, int serial,
                  const char* title, std::string& out, std::string& error) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        error = "vorbis_encode_init_vbr refused the format";
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", title);

    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) Append(out, page);

    const std::size_t chunk = 4096;
    std::size_t done = 0;
    bool eos = false, ended = false;
    while (!eos) {
        const std::size_t n = std::min(chunk, frames - done);
        if (n == 0) {
            if (ended) break; // drained without an end-of-stream page: flushed below
            vorbis_analysis_wrote(&vd, 0);
            ended = true;
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (std::size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] =
                        interleaved[(done + i) * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet) == 1) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0) {
                    Append(out, page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
    }
    // Packets still waiting for a page would be lost, leaving a cut file that reads as complete.
    while (ogg_stream_flush(&os, &page) != 0) Append(out, page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return true;
}

} // namespace music
