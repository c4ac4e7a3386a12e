// Sprite records: parsing from data files and the few sprites built into the program.
#include "gfx/sprite.h"

namespace qvar {

Sprite make_sprite(uint8_t width, uint8_t height, uint8_t fill) {
    Sprite s;
    s.width = width;
    s.height = height;
    s.pixels.assign(static_cast<size_t>(width) * height, fill);
    return s;
}

Sprite make_sprite(uint8_t width, uint8_t height, const std::vector<uint8_t>& pixels) {
    Sprite s = make_sprite(width, height, TRANSPARENT);
    for (size_t i = 0; i < s.pixels.size() && i < pixels.size(); ++i) s.pixels[i] = pixels[i];
    return s;
}

bool parse_sprite(const std::vector<uint8_t>& file, size_t offset, size_t record_size, Sprite& out) {
    auto byte_at = [&](size_t i) -> uint8_t { return i < file.size() ? file[i] : 255; };
    uint8_t w = byte_at(offset);
    uint8_t h = byte_at(offset + 1);
    size_t count = static_cast<size_t>(w) * h;
    if (2 + count > record_size) {
        out = Sprite{};
        return false;
    }
    out.width = w;
    out.height = h;
    out.pixels.resize(count);
    for (size_t i = 0; i < count; ++i) out.pixels[i] = byte_at(offset + 2 + i);
    return true;
}

std::vector<uint8_t> sprite_record(const Sprite& s) {
    std::vector<uint8_t> bytes;
    bytes.reserve(s.record_size());
    bytes.push_back(s.width);
    bytes.push_back(s.height);
    bytes.insert(bytes.end(), s.pixels.begin(), s.pixels.end());
    return bytes;
}

Sprite core_sprite() {
    return make_sprite(5, 5, {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255});
}

Sprite shot_sprite() { return make_sprite(3, 3, {2, 10, 2, 10, 14, 10, 2, 10, 2}); }

Sprite pellet_sprite() { return make_sprite(3, 3, {4, 12, 4, 12, 13, 12, 4, 12, 4}); }

Sprite bullet_sprite() { return make_sprite(2, 2, {27, 29, 25, 27}); }

}  // namespace qvar
