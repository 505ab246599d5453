// Ogg Vorbis fixtures, encoded at test time. The suites link only the game's libraries, which
// decode Vorbis but do not encode it, so the encoder is the system's libvorbisenc loaded at run
// time (its dependencies, libvorbis and libogg, come with it).
#include <dlfcn.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <ogg/ogg.h>
#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>

#include "sound_test_support.h"

namespace soundtest {

namespace {

struct VorbisApi {
#define VORBIS_API_ENTRY(name) decltype(&::name) name = nullptr;
// clang-format off
#define VORBIS_API_LIST(X)                                                                            \
    X(vorbis_info_init) X(vorbis_info_clear) X(vorbis_comment_init) X(vorbis_comment_clear)           \
    X(vorbis_encode_init_vbr) X(vorbis_analysis_init) X(vorbis_block_init) X(vorbis_block_clear)      \
    X(vorbis_dsp_clear) X(vorbis_analysis_headerout) X(vorbis_analysis_buffer)                        \
    X(vorbis_analysis_wrote) X(vorbis_analysis_blockout) X(vorbis_analysis) X(vorbis_bitrate_addblock) \
    X(vorbis_bitrate_flushpacket) X(ogg_stream_init) X(ogg_stream_packetin) X(ogg_stream_pageout)     \
    X(ogg_stream_flush) X(ogg_stream_clear) X(ogg_page_eos)
    // clang-format on
    VORBIS_API_LIST(VORBIS_API_ENTRY)
};

const VorbisApi* Api() {
    static const VorbisApi* api = []() -> const VorbisApi* {
        void* lib = dlopen("libvorbisenc.so.2", RTLD_NOW | RTLD_GLOBAL);
        if (!lib) return nullptr;
        static VorbisApi loaded;
        bool complete = true;
#define VORBIS_API_LOAD(name)                                             \
    loaded.name = reinterpret_cast<decltype(&::name)>(dlsym(lib, #name)); \
    complete = complete && loaded.name != nullptr;
        VORBIS_API_LIST(VORBIS_API_LOAD)
        return complete ? &loaded : nullptr;
    }();
    return api;
}

void AppendPage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}

} // namespace

bool OggEncoderAvailable() { return Api() != nullptr; }

std::string MakeOgg(double seconds, int channels, int rate, uint32_t seed) {
    const VorbisApi* v = Api();
    if (!v) return {};
    const long frames = std::lround(seconds * rate);

    vorbis_info info;
    v->vorbis_info_init(&info);
    if (v->vorbis_encode_init_vbr(&info, channels, rate, 0.3f) != 0) {
        v->vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    v->vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    v->vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    v->vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    v->ogg_stream_init(&stream, static_cast<int>(seed) + 100);

    std::string out;
    ogg_packet header, headerComment, headerCode;
    v->vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    v->ogg_stream_packetin(&stream, &header);
    v->ogg_stream_packetin(&stream, &headerComment);
    v->ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (v->ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

    const double pi = 3.14159265358979323846;
    long done = 0;
    bool eos = false;
    while (!eos) {
        const long chunk = std::min<long>(1024, frames - done);
        if (chunk > 0) {
            float** buffer = v->vorbis_analysis_buffer(&dsp, static_cast<int>(chunk));
            for (long i = 0; i < chunk; ++i) {
                const double t = static_cast<double>(done + i) / rate;
                for (int c = 0; c < channels; ++c) {
                    const double f = 220.0 * (c + 1) + 40.0 * seed + 60.0 * t;
                    buffer[c][i] =
                        static_cast<float>(0.4 * std::sin(2 * pi * f * t) + 0.15 * std::sin(2 * pi * 3.1 * f * t));
                }
            }
            v->vorbis_analysis_wrote(&dsp, static_cast<int>(chunk));
            done += chunk;
        } else {
            v->vorbis_analysis_wrote(&dsp, 0);
        }
        while (v->vorbis_analysis_blockout(&dsp, &block) == 1) {
            v->vorbis_analysis(&block, nullptr);
            v->vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (v->vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                v->ogg_stream_packetin(&stream, &packet);
                while (v->ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(out, page);
                    if (v->ogg_page_eos(&page)) eos = true;
                }
            }
        }
        if (chunk <= 0 && !eos) {
            // Everything was handed over: whatever is left goes out as the last page.
            while (v->ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);
            eos = true;
        }
    }

    v->ogg_stream_clear(&stream);
    v->vorbis_block_clear(&block);
    v->vorbis_dsp_clear(&dsp);
    v->vorbis_comment_clear(&comment);
    v->vorbis_info_clear(&info);
    return out;
}

} // namespace soundtest
