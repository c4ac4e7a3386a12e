// PNG encoding with stored deflate blocks: no compression library needed, output deterministic.
#include "util/png.h"

#include "util/files.h"

namespace qvar {

namespace {

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void put_chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    put_u32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_u32(out, png_crc32(out.data() + start, out.size() - start));
}

uint32_t adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> zlib_stored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t len = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool last = pos + len == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(len));
        z.push_back(static_cast<uint8_t>(len >> 8));
        z.push_back(static_cast<uint8_t>(~len));
        z.push_back(static_cast<uint8_t>(~len >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + len));
        pos += len;
    } while (pos < raw.size());
    put_u32(z, adler32(raw));
    return z;
}

}  // namespace

uint32_t png_crc32(const uint8_t* data, size_t size, uint32_t crc) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::vector<uint8_t> encode_png_indexed(uint32_t width, uint32_t height, const uint8_t* pixels,
                                        const RgbTriples& palette) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> ihdr;
    put_u32(ihdr, width);
    put_u32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 3, 0, 0, 0});  // 8-bit, indexed, deflate, no filter, no interlace
    put_chunk(out, "IHDR", ihdr);
    std::vector<uint8_t> plte;
    plte.insert(plte.end(), palette.begin(), palette.end());
    put_chunk(out, "PLTE", plte);
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(width + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        raw.insert(raw.end(), pixels + static_cast<size_t>(y) * width, pixels + static_cast<size_t>(y + 1) * width);
    }
    put_chunk(out, "IDAT", zlib_stored(raw));
    put_chunk(out, "IEND", {});
    return out;
}

bool write_png_indexed(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels,
                       const RgbTriples& palette) {
    return write_file_atomic(path, encode_png_indexed(width, height, pixels, palette)).ok;
}

}  // namespace qvar
