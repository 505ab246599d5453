// JPEG through libjpeg. Grey and colour pictures decode to RGBA with alpha 255; CMYK and other colour
// spaces are refused. Decoding is strict: data that ends early is an error (not grey padding), and so
// is anything libjpeg only warns about (corrupt data it skipped over), so a damaged file never turns
// into a damaged texture. libjpeg reports errors through a handler that must not return; ours
// longjmps to the setjmp of a small function that holds no object with a destructor.
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>
#include <csetjmp>

#include "platform/image/codecs.h"

namespace plat::image_detail {
namespace {

// More scans than any encoder makes; a file with more is refused rather than re-scanned for ever.
constexpr int JPEG_MAX_SCANS = 100;
// Working memory libjpeg may take (the whole-picture buffers of progressive files are the large ones).
constexpr long JPEG_MAX_MEMORY = 512L * 1024 * 1024;

struct JpegError {
    jpeg_error_mgr pub;
    jmp_buf jump;
    const char* reason; // our own text for the next error, instead of libjpeg's
    char message[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    if (err->reason)
        std::snprintf(err->message, sizeof err->message, "%s", err->reason);
    else
        (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Called for the first warning (and for trace messages, which are off): keep its text.
void JpegOutputMessage(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    if (err->warning[0] == '\0') (*cinfo->err->format_message)(cinfo, err->warning);
}

[[noreturn]] void FailWith(j_common_ptr cinfo, const char* reason) {
    reinterpret_cast<JpegError*>(cinfo->err)->reason = reason;
    JpegErrorExit(cinfo);
}

void JpegProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > JPEG_MAX_SCANS)
        FailWith(cinfo, "too many JPEG scans");
}

// The whole file is in memory; asking for more means it ended early.
void SourceInit(j_decompress_ptr) {}
boolean SourceFill(j_decompress_ptr cinfo) { FailWith(reinterpret_cast<j_common_ptr>(cinfo), "truncated JPEG data"); }
void SourceSkip(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer)
        FailWith(reinterpret_cast<j_common_ptr>(cinfo), "truncated JPEG data");
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<std::size_t>(count);
}
void SourceTerm(j_decompress_ptr) {}

// Output into a std::string, a block at a time. Like the other libjpeg structures here it is plain
// data, zeroed with memset before use.
struct JpegDestination {
    jpeg_destination_mgr pub;
    std::string* out;
    JOCTET block[16384];
};

bool AppendBlock(JpegDestination* dest, std::size_t count) {
    try {
        dest->out->append(reinterpret_cast<const char*>(dest->block), count);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void DestinationInit(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->block;
    dest->pub.free_in_buffer = sizeof dest->block;
}
boolean DestinationEmpty(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
    if (!AppendBlock(dest, sizeof dest->block)) FailWith(reinterpret_cast<j_common_ptr>(cinfo), "out of memory");
    dest->pub.next_output_byte = dest->block;
    dest->pub.free_in_buffer = sizeof dest->block;
    return TRUE;
}
void DestinationTerm(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
    if (!AppendBlock(dest, sizeof dest->block - dest->pub.free_in_buffer))
        FailWith(reinterpret_cast<j_common_ptr>(cinfo), "out of memory");
}

void InitError(JpegError& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = JpegErrorExit;
    err.pub.output_message = JpegOutputMessage;
}

// Plain data only: it lives in the caller's frame across the setjmp functions below.
struct JpegReader {
    jpeg_decompress_struct cinfo;
    JpegError err;
    jpeg_source_mgr src;
    jpeg_progress_mgr progress;
};

bool ReadHeader(JpegReader* r, const uint8_t* data, std::size_t size) {
    if (setjmp(r->err.jump)) return false;
    jpeg_create_decompress(&r->cinfo);
    r->cinfo.mem->max_memory_to_use = JPEG_MAX_MEMORY;
    r->progress.progress_monitor = JpegProgress;
    r->cinfo.progress = &r->progress;
    r->src.init_source = SourceInit;
    r->src.fill_input_buffer = SourceFill;
    r->src.skip_input_data = SourceSkip;
    r->src.resync_to_restart = jpeg_resync_to_restart;
    r->src.term_source = SourceTerm;
    r->src.next_input_byte = data;
    r->src.bytes_in_buffer = size;
    r->cinfo.src = &r->src;
    jpeg_read_header(&r->cinfo, TRUE);
    return true;
}

bool ReadRows(JpegReader* r, uint8_t* pixels, uint8_t* row) {
    if (setjmp(r->err.jump)) return false;
    j_decompress_ptr cinfo = &r->cinfo;
    jpeg_start_decompress(cinfo);
    const int components = cinfo->output_components;
    if (cinfo->output_width != cinfo->image_width || cinfo->output_height != cinfo->image_height ||
        (components != 1 && components != 3))
        FailWith(reinterpret_cast<j_common_ptr>(cinfo), "unexpected JPEG output layout");
    const std::size_t width = cinfo->output_width;
    while (cinfo->output_scanline < cinfo->output_height) {
        uint8_t* dst = pixels + static_cast<std::size_t>(cinfo->output_scanline) * width * 4;
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(cinfo, rows, 1) != 1)
            FailWith(reinterpret_cast<j_common_ptr>(cinfo), "truncated JPEG data");
        for (std::size_t x = 0; x < width; ++x, dst += 4) {
            const uint8_t* s = row + x * components;
            dst[0] = s[0];
            dst[1] = s[components == 3 ? 1 : 0];
            dst[2] = s[components == 3 ? 2 : 0];
            dst[3] = 255;
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

class ReaderGuard {
public:
    explicit ReaderGuard(JpegReader& r) : r_(r) {}
    ~ReaderGuard() { jpeg_destroy_decompress(&r_.cinfo); } // safe on a never-created (zeroed) object
    ReaderGuard(const ReaderGuard&) = delete;
    ReaderGuard& operator=(const ReaderGuard&) = delete;

private:
    JpegReader& r_;
};

struct JpegWriter {
    jpeg_compress_struct cinfo;
    JpegError err;
    JpegDestination dest;
};

bool WriteAll(JpegWriter* w, const Image* image, int quality, uint8_t* row) {
    if (setjmp(w->err.jump)) return false;
    jpeg_create_compress(&w->cinfo);
    w->dest.pub.init_destination = DestinationInit;
    w->dest.pub.empty_output_buffer = DestinationEmpty;
    w->dest.pub.term_destination = DestinationTerm;
    w->cinfo.dest = &w->dest.pub;
    w->cinfo.image_width = static_cast<JDIMENSION>(image->width);
    w->cinfo.image_height = static_cast<JDIMENSION>(image->height);
    w->cinfo.input_components = 3;
    w->cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&w->cinfo);
    jpeg_set_quality(&w->cinfo, quality, TRUE);
    jpeg_start_compress(&w->cinfo, TRUE);
    while (w->cinfo.next_scanline < w->cinfo.image_height) {
        const uint8_t* src = image->Pixel(0, static_cast<int>(w->cinfo.next_scanline));
        for (int x = 0; x < image->width; ++x, src += 4) std::memcpy(row + x * 3, src, 3);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&w->cinfo, rows, 1);
    }
    jpeg_finish_compress(&w->cinfo);
    return true;
}

class WriterGuard {
public:
    explicit WriterGuard(JpegWriter& w) : w_(w) {}
    ~WriterGuard() { jpeg_destroy_compress(&w_.cinfo); }
    WriterGuard(const WriterGuard&) = delete;
    WriterGuard& operator=(const WriterGuard&) = delete;

private:
    JpegWriter& w_;
};

} // namespace

bool ReadJpeg(const uint8_t* data, std::size_t size, ImageInfo& info, Image* pixels, std::string& error) {
    JpegReader reader;
    std::memset(&reader, 0, sizeof reader);
    InitError(reader.err);
    reader.cinfo.err = &reader.err.pub;
    ReaderGuard guard(reader);

    if (!ReadHeader(&reader, data, size)) {
        error = reader.err.message;
        return false;
    }
    jpeg_decompress_struct& cinfo = reader.cinfo;
    if (!CheckImageSize(cinfo.image_width, cinfo.image_height, error)) return false;
    if (cinfo.jpeg_color_space == JCS_GRAYSCALE && cinfo.num_components == 1) {
        cinfo.out_color_space = JCS_GRAYSCALE;
    } else if ((cinfo.jpeg_color_space == JCS_YCbCr || cinfo.jpeg_color_space == JCS_RGB) &&
               cinfo.num_components == 3) {
        cinfo.out_color_space = JCS_RGB;
    } else {
        error = "unsupported JPEG colour space";
        return false;
    }
    info.width = static_cast<int>(cinfo.image_width);
    info.height = static_cast<int>(cinfo.image_height);
    info.format = ImageFormat::Jpeg;
    info.hasAlpha = false;
    if (!pixels) return true;

    pixels->Allocate(info.width, info.height);
    std::vector<uint8_t> row(static_cast<std::size_t>(info.width) * 3);
    if (!ReadRows(&reader, pixels->pixels.data(), row.data())) {
        pixels->Clear();
        error = reader.err.message;
        return false;
    }
    if (reader.err.pub.num_warnings > 0) {
        pixels->Clear();
        error = reader.err.warning[0] ? reader.err.warning : "corrupt JPEG data";
        return false;
    }
    return true;
}

bool WriteJpeg(const Image& image, int quality, std::string& out, std::string& error) {
    if (!CheckEncodable(image, error)) return false;
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    JpegWriter writer;
    std::memset(&writer, 0, sizeof writer);
    InitError(writer.err);
    writer.cinfo.err = &writer.err.pub;
    writer.dest.out = &out;
    WriterGuard guard(writer);

    std::vector<uint8_t> row(static_cast<std::size_t>(image.width) * 3);
    if (!WriteAll(&writer, &image, quality, row.data())) {
        error = writer.err.message;
        return false;
    }
    return true;
}

} // namespace plat::image_detail
