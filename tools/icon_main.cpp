// qvar_icon: the application icon, drawn from the ship in the compiled qvar.dat.
//   qvar_icon DATA_DIR SIZE OUT.png   a SIZE x SIZE PNG (SIZE a multiple of 16, 16 to 1024)
//   qvar_icon DATA_DIR svg OUT.svg    the scalable icon
#include <cstdio>
#include <string>

#include "gfx/data_files.h"
#include "icon_art.h"
#include "util/png.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: qvar_icon DATA_DIR SIZE|svg OUTPUT\n");
    return 2;
}

// The size argument: a whole multiple of the ship's 16 pixels, so every pixel stays square.
bool parse_size(const std::string& text, uint32_t& size) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    size = static_cast<uint32_t>(std::stoul(text));
    return size >= 16 && size <= 1024 && size % 16 == 0;
}

bool write_svg(const std::string& path, const std::string& svg) {
    return qvar::write_file_atomic(path, std::vector<uint8_t>(svg.begin(), svg.end())).ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return usage();
    const std::string kind = argv[2], out = argv[3];
    uint32_t size = 0;
    if (kind != "svg" && !parse_size(kind, size)) return usage();
    const qvar::Paths paths{argv[1], argv[1]};
    qvar::Sprite ship;
    std::string error;
    if (!qvar::load_sprite_record(paths, qvar::SPRITES_FILE, qvar::SHIP_RECORD, ship, error)) {
        std::fprintf(stderr, "qvar_icon: %s\n", error.c_str());
        return 1;
    }
    const qvar::Palette palette = qvar::compute_palette(qvar::DEFAULT_GAMMA);
    const bool ok = kind == "svg" ? write_svg(out, qvar::icon::render_icon_svg(ship, palette))
                                  : qvar::write_png_indexed(out, size, size, qvar::icon::render_icon(ship, size).data(),
                                                            qvar::rgb_triples(palette));
    if (!ok) {
        std::fprintf(stderr, "qvar_icon: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
