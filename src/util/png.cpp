// PNG encoding through libpng into memory: indexed colour, pHYs, compressed, no time stamp.
#include "util/png.h"

#ifndef QVAR_NO_LIBPNG
#include <png.h>
#endif

#include <csetjmp>
#include <utility>

#include "util/files.h"

namespace qvar {

#ifndef QVAR_NO_LIBPNG
constexpr bool PNG_AVAILABLE = true;
#else
constexpr bool PNG_AVAILABLE = false;
#endif

namespace {

struct EncodeJob {
    uint32_t width;
    uint32_t height;
    const uint8_t* pixels;
    const RgbTriples* palette;
    PixelAspect aspect;
    std::vector<uint8_t>* out;
};

#ifndef QVAR_NO_LIBPNG
void append_bytes(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void no_flush(png_structp) {}

// libpng reports errors by a long jump back into encode_with_libpng, whose frame holds no
// object with a destructor; warnings are not worth a line on stderr.
void quiet_warning(png_structp, png_const_charp) {}

void write_picture(png_structp png, png_infop info, const EncodeJob& job) {
    png_set_write_fn(png, job.out, append_bytes, no_flush);
    png_set_IHDR(png, info, job.width, job.height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    for (size_t i = 0; i < 256; ++i)
        colours[i] = png_color{(*job.palette)[i * 3], (*job.palette)[i * 3 + 1], (*job.palette)[i * 3 + 2]};
    png_set_PLTE(png, info, colours, 256);
    png_set_pHYs(png, info, job.aspect.x_per_unit, job.aspect.y_per_unit, PNG_RESOLUTION_UNKNOWN);
    // Palette pictures compress best unfiltered; the highest level keeps screenshots small.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (uint32_t y = 0; y < job.height; ++y)
        png_write_row(png, job.pixels + static_cast<size_t>(y) * job.width);
    png_write_end(png, info);
}

bool encode_with_libpng(const EncodeJob& job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quiet_warning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    write_picture(png, info, job);
    png_destroy_write_struct(&png, &info);
    return true;
}

#else
// The browser build has no libpng (Emscripten cannot fetch its port offline) and writes no
// pictures: frame dumps and screenshots are the native builds' features.
bool encode_with_libpng(const EncodeJob&) { return false; }
#endif

}  // namespace

std::vector<uint8_t> encode_png_indexed(uint32_t width, uint32_t height, const uint8_t* pixels,
                                        const RgbTriples& palette, PixelAspect aspect) {
    std::vector<uint8_t> out;
    out.reserve(16384);
    if (!encode_with_libpng(EncodeJob{width, height, pixels, &palette, aspect, &out})) out.clear();
    return out;
}

bool write_png_indexed(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels,
                       const RgbTriples& palette, PixelAspect aspect, std::string& reason) {
    const std::vector<uint8_t> png = encode_png_indexed(width, height, pixels, palette, aspect);
    if (png.empty()) {
        reason = PNG_AVAILABLE ? "the picture could not be encoded" : "this build writes no PNG files";
        return false;
    }
    FileResult written = write_file_atomic(path, png);
    if (!written) reason = std::move(written.reason);
    return written.ok;
}

bool write_png_indexed(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels,
                       const RgbTriples& palette) {
    std::string reason;
    return write_png_indexed(path, width, height, pixels, palette, SQUARE_PIXELS, reason);
}

}  // namespace qvar
