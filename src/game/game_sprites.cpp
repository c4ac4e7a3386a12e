// Loading and building the game's sprites once per game, so drawing is a plain copy.
#include "game/game_sprites.h"

#include <cmath>

#include "gfx/data_files.h"
#include "util/float_math.h"
#include "util/numeric.h"

namespace qvar {

Sprite turn_ship_sprite(const Sprite& base, int32_t k) {
    Sprite out = make_sprite(SHIP_SIZE, SHIP_SIZE, TRANSPARENT);
    const float a = 0.1f * static_cast<float>(k);
    const float c = cosine(a);
    const float s = sine(a);
    for (int32_t j = 0; j < SHIP_SIZE; ++j) {
        for (int32_t i = 0; i < SHIP_SIZE; ++i) {
            const float di = static_cast<float>(i) - 7.5f;
            const float dj = static_cast<float>(j) - 7.5f;
            // Rounded by adding 0.5 and truncating toward zero, so a source just left of or
            // above the picture (down to -1) still reads its first column or row.
            const int32_t u = trunc_i32(di * c + dj * s + 7.5f + 0.5f);
            const int32_t v = trunc_i32(dj * c - di * s + 7.5f + 0.5f);
            if (u < 0 || v < 0 || u >= SHIP_SIZE || v >= SHIP_SIZE) continue;
            out.pixels[static_cast<size_t>(j * SHIP_SIZE + i)] = base.at(u, v);
        }
    }
    return out;
}

void build_block_sprites(GameSprites& sprites) {
    for (int32_t i = 0; i < 4; ++i) {
        const auto side = static_cast<uint8_t>(3 * (1 << i) - 1);
        sprites.blocks[static_cast<size_t>(i)] = make_sprite(side, side, BLOCK_COLOURS[i]);
    }
}

void build_rock_sprites(GameSprites& sprites, Random& rng) {
    sprites.rock_sizes[0] = 0;
    for (int32_t i = 0; i < ROCK_SPRITE_COUNT; ++i) {
        const int32_t d = trunc_i32(10.0f * std::sqrt(static_cast<float>(i + 1)));
        sprites.rock_sizes[static_cast<size_t>(i + 1)] = static_cast<uint8_t>(d);
        Sprite rock = make_sprite(static_cast<uint8_t>(d), static_cast<uint8_t>(d), TRANSPARENT);
        const float c = static_cast<float>(d - 1) * 0.5f;
        const float r2 = c * c;
        for (int32_t y = 0; y < d; ++y) {
            for (int32_t x = 0; x < d; ++x) {
                const float t = r2 - square(static_cast<float>(x) - c) - square(static_cast<float>(y) - c);
                if (t <= 0.0f) continue;
                const float shade = 8.0f * t / r2 + 20.0f + random_real(rng, 1.0f);
                rock.pixels[static_cast<size_t>(y * d + x)] = low_byte_of(shade);
            }
        }
        sprites.rocks[static_cast<size_t>(i)] = std::move(rock);
    }
}

void set_builtin_sprites(GameSprites& sprites) {
    sprites.shot = shot_sprite();
    sprites.bullet = bullet_sprite();
    sprites.pellet = pellet_sprite();
    sprites.core = core_sprite();
}

namespace {

static_assert(SHIP_RECORD.width == SHIP_SIZE && SHIP_RECORD.height == SHIP_SIZE, "the ship turns as a 16x16 square");

bool load_ship(const Paths& paths, GameSprites& sprites, std::string& error) {
    Sprite base;
    if (!load_sprite_record(paths, SPRITES_FILE, SHIP_RECORD, base, error)) return false;  // 16x16 checked
    sprites.ship[0] = base;
    for (int32_t k = 1; k < SHIP_ORIENTATIONS; ++k) sprites.ship[static_cast<size_t>(k)] = turn_ship_sprite(base, k);
    return true;
}

}  // namespace

bool load_game_sprites(const Paths& paths, GameSprites& sprites, std::string& error) {
    GameSprites loaded;
    const bool ok = load_ship(paths, loaded, error) &&
                    load_sprite_record(paths, SPRITES_FILE, SAUCER_RECORD, loaded.saucer, error) &&
                    load_sprite_record(paths, SPRITES_FILE, REPELLER_RECORD, loaded.repeller, error) &&
                    load_sprite_record(paths, SPRITES_FILE, CELL_RECORDS[0], loaded.cell[0], error) &&
                    load_sprite_record(paths, SPRITES_FILE, CELL_RECORDS[1], loaded.cell[1], error) &&
                    load_sprite_record(paths, SPRITES_FILE, SPINNER_RECORD, loaded.spinner, error) &&
                    load_sprite_record(paths, SPRITES_FILE, TALLY_TENS_RECORD, loaded.tally_tens, error) &&
                    load_sprite_record(paths, SPRITES_FILE, TALLY_HUNDREDS_RECORD, loaded.tally_hundreds, error) &&
                    load_bonus_icons(paths, loaded.bonus_icons, error);
    if (!ok) return false;
    sprites.ship = std::move(loaded.ship);
    sprites.saucer = std::move(loaded.saucer);
    sprites.repeller = std::move(loaded.repeller);
    sprites.cell = std::move(loaded.cell);
    sprites.spinner = std::move(loaded.spinner);
    sprites.tally_tens = std::move(loaded.tally_tens);
    sprites.tally_hundreds = std::move(loaded.tally_hundreds);
    sprites.bonus_icons = std::move(loaded.bonus_icons);
    return true;
}

}  // namespace qvar
