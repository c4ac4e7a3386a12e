// The asset compiler's checks: layouts from the game's tables, colour rules, credits limits.
#include "asset_compiler.h"

#include "gfx/data_layout.h"
#include "gfx/text.h"

namespace qvar::assets {

namespace {

struct QvarSlot {
    const char* name;
    uint8_t width;
    uint8_t height;
    SpriteRecord record;
};

// Names and shapes of qvar.dat's records; the record table fixes offsets and sizes.
constexpr QvarSlot QVAR_SLOTS[] = {
    {"ship", 16, 16, SHIP_RECORD},
    {"saucer", 15, 7, SAUCER_RECORD},
    {"repeller", 20, 15, REPELLER_RECORD},
    {"cell_0", 12, 12, CELL_RECORDS[0]},
    {"cell_1", 12, 12, CELL_RECORDS[1]},
    {"spinner", 10, 10, SPINNER_RECORD},
    {"spare_a", 20, 15, SPARE_RECORD_A},
    {"spare_b", 7, 5, SPARE_RECORD_B},
    {"pointer", 12, 12, POINTER_RECORD},
    {"tally_tens", 10, 10, TALLY_TENS_RECORD},
    {"tally_hundreds", 10, 10, TALLY_HUNDREDS_RECORD},
};

constexpr bool qvar_slots_match_records() {
    size_t offset = 0;
    for (const QvarSlot& s : QVAR_SLOTS) {
        if (s.record.offset != offset || s.record.size != 2 + size_t{s.width} * s.height) return false;
        offset += s.record.size;
    }
    return offset == SPRITES_FILE_SIZE;
}
static_assert(qvar_slots_match_records(), "qvar.dat shapes disagree with the record table");

constexpr const char* BONUS_NAMES[13] = {
    "flame",  "plasma",     "white_heat", "spread",   "attraction", "points",       "faster_bullets",
    "extra_life", "stream", "retro",      "machine_gun", "surround", "invincibility",
};

size_t layout_size(const std::vector<SpriteSlot>& slots) {
    size_t total = 0;
    for (const SpriteSlot& s : slots) total += 2 + size_t{s.width} * s.height;
    return total;
}

bool colour_allowed(ColourRule rule, uint8_t p) {
    if (p == TRANSPARENT) return true;
    switch (rule) {
        case ColourRule::FontShades: return p == GLYPH_BODY || p == GLYPH_SHADE;
        case ColourRule::CubeOnly: return p >= 128 && p <= 252;
        case ColourRule::Any: return true;
    }
    return false;
}

const char* rule_text(ColourRule rule) {
    switch (rule) {
        case ColourRule::FontShades: return "font glyphs may use only 15 (body), 7 (shade) and clear";
        case ColourRule::CubeOnly: return "large digits may use only colour-cube indices 128..252 and clear";
        case ColourRule::Any: return "";
    }
    return "";
}

bool check_sprite(const ArtSprite& art, const SpriteSlot& slot, const std::string& source, ColourRule rule,
                  std::string& error) {
    const std::string at = source + ":" + std::to_string(art.line) + ": ";
    if (art.name != slot.name) {
        error = at + "expected sprite '" + slot.name + "' here, found '" + art.name + "'";
        return false;
    }
    if (art.sprite.width != slot.width || art.sprite.height != slot.height) {
        error = at + "sprite '" + slot.name + "' must be " + std::to_string(slot.width) + "x" +
                std::to_string(slot.height) + ", not " + std::to_string(art.sprite.width) + "x" +
                std::to_string(art.sprite.height);
        return false;
    }
    for (size_t i = 0; i < art.sprite.pixels.size(); ++i) {
        uint8_t p = art.sprite.pixels[i];
        if (!colour_allowed(rule, p)) {
            error = at + "sprite '" + slot.name + "' pixel (" + std::to_string(i % slot.width) + "," +
                    std::to_string(i / slot.width) + ") is colour " + std::to_string(p) + ": " + rule_text(rule);
            return false;
        }
    }
    return true;
}

}  // namespace

FileLayout font_layout() {
    FileLayout l{FONT_FILE, {}, ColourRule::FontShades, 0};
    for (int i = 0; i < GLYPH_COUNT; ++i) {
        char c = i < 26 ? static_cast<char>('a' + i) : static_cast<char>('0' + (i - 26));
        l.slots.push_back({std::string(1, c), GLYPH_WIDTHS[static_cast<size_t>(i)], GLYPH_HEIGHT});
    }
    l.file_size = layout_size(l.slots);
    return l;
}

FileLayout digits_layout() {
    FileLayout l{DIGITS_FILE, {}, ColourRule::CubeOnly, DIGITS_FILE_SIZE};
    for (int d = 0; d < 10; ++d) l.slots.push_back({std::to_string(d), 10, 15});
    return l;
}

FileLayout sprites_layout() {
    FileLayout l{SPRITES_FILE, {}, ColourRule::Any, SPRITES_FILE_SIZE};
    for (const QvarSlot& s : QVAR_SLOTS) l.slots.push_back({s.name, s.width, s.height});
    return l;
}

FileLayout boni_layout() {
    FileLayout l{BONI_FILE, {}, ColourRule::Any, BONI_FILE_SIZE};
    for (const char* name : BONUS_NAMES) l.slots.push_back({name, 10, 10});
    return l;
}

bool layout_for_kind(std::string_view kind, FileLayout& layout) {
    if (kind == "font") layout = font_layout();
    else if (kind == "digits") layout = digits_layout();
    else if (kind == "sprites") layout = sprites_layout();
    else if (kind == "boni") layout = boni_layout();
    else return false;
    return true;
}

bool compile_art(std::string_view text, const std::string& source_name, const FileLayout& layout,
                 std::vector<uint8_t>& out, std::string& error) {
    std::vector<ArtSprite> sprites;
    if (!parse_art(text, source_name, sprites, error)) return false;
    out.clear();
    for (size_t i = 0; i < sprites.size() && i < layout.slots.size(); ++i) {
        if (!check_sprite(sprites[i], layout.slots[i], source_name, layout.rule, error)) return false;
        std::vector<uint8_t> record = sprite_record(sprites[i].sprite);
        out.insert(out.end(), record.begin(), record.end());
    }
    if (sprites.size() != layout.slots.size()) {
        error = source_name + ": " + layout.output + " needs " + std::to_string(layout.slots.size()) +
                " sprites, the source has " + std::to_string(sprites.size());
        if (sprites.size() < layout.slots.size()) error += " (next missing: '" + layout.slots[sprites.size()].name + "')";
        return false;
    }
    if (out.size() != layout.file_size) {
        error = source_name + ": " + layout.output + " came to " + std::to_string(out.size()) + " bytes, expected " +
                std::to_string(layout.file_size);
        return false;
    }
    return true;
}

}  // namespace qvar::assets
