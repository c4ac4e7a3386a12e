// Everything one game owns: its pools, the player's state and the game's sprites.
// Built by the game's set-up, stepped by the frame loop, dropped when the game ends.
#pragma once

#include <array>
#include <cstdint>

#include "gfx/sprite.h"
#include "util/bits.h"

namespace qvar {

inline constexpr int32_t SHOT_CAPACITY = 1000;
inline constexpr int32_t DEBRIS_CAPACITY = 10000;
inline constexpr int32_t FOE_CAPACITY = 1000;
inline constexpr int32_t BONUS_CAPACITY = 1000;
inline constexpr int32_t HIT_PAIR_CAPACITY = 500;
inline constexpr int32_t BONUS_KIND_COUNT = 13;
inline constexpr int32_t SHIP_ORIENTATIONS = 63;
inline constexpr int32_t ROCK_SPRITE_COUNT = 20;

enum FoeKind : int32_t {
    ROCK = 1, WHEEL = 2, DART = 3, SAUCER = 4, PELLET = 5, TRIANGLE = 6, WEB = 7,
    ORBITER = 8, REPELLER = 9, BLOCK = 10, CELL = 11, LODESTONE = 12, SPINNER = 13,
};
inline constexpr int32_t FOE_KIND_COUNT = 13;

struct ShotPool {
    static constexpr int32_t capacity = SHOT_CAPACITY;
    int32_t count = 0;
    std::array<float, SHOT_CAPACITY> x{}, y{}, dx{}, dy{};
    std::array<int32_t, SHOT_CAPACITY> life{}, kind{};
    BitSet<SHOT_CAPACITY> spent;

    template <class F>
    void for_each_column(F&& f) {
        f(x); f(y); f(dx); f(dy); f(life); f(kind); f(spent);
    }
};

struct DebrisPool {
    static constexpr int32_t capacity = DEBRIS_CAPACITY;
    int32_t count = 0;
    std::array<int32_t, DEBRIS_CAPACITY> x{}, y{};
    std::array<uint8_t, DEBRIS_CAPACITY> colour{};

    template <class F>
    void for_each_column(F&& f) {
        f(x); f(y); f(colour);
    }
};

// for_each_column moves the three effect bits with a foe but not `dead`: the destroy step
// moves and clears `dead` itself, and a lodestone merge leaves it where it is.
struct FoePool {
    static constexpr int32_t capacity = FOE_CAPACITY;
    int32_t count = 0;
    std::array<float, FOE_CAPACITY> x{}, y{}, dx{}, dy{}, angle{}, spin{};
    std::array<int32_t, FOE_CAPACITY> kind{}, gen{};
    BitSet<FOE_CAPACITY> flamed, plasma, whitehot;
    BitSet<FOE_CAPACITY> dead;

    template <class F>
    void for_each_column(F&& f) {
        f(x); f(y); f(dx); f(dy); f(angle); f(spin); f(kind); f(gen);
        f(flamed); f(plasma); f(whitehot);
    }
};

struct BonusPool {
    static constexpr int32_t capacity = BONUS_CAPACITY;
    int32_t count = 0;
    std::array<float, BONUS_CAPACITY> x{}, y{}, dx{}, dy{};
    std::array<int32_t, BONUS_CAPACITY> kind{};

    template <class F>
    void for_each_column(F&& f) {
        f(x); f(y); f(dx); f(dy); f(kind);
    }
};

// Filled by the foe pass, consumed by apply_hit_pairs, emptied every frame.
// A foe index of -1 names no foe: the shot is used up without harming anything.
struct HitPairs {
    static constexpr int32_t capacity = HIT_PAIR_CAPACITY;
    int32_t count = 0;
    std::array<int32_t, HIT_PAIR_CAPACITY> foe{}, shot{};
};

struct Player {
    int32_t ships = 3;
    int32_t level = 0;
    int32_t score = 0;
    int32_t shown_score = 0;
    int32_t weapon = 1;
    int32_t flame_count = 0;
    int32_t plasma_count = 0;
    int32_t whitehot_timer = 0;
    int32_t bullets = 0;
    int32_t spread = 1;
    int32_t stream = 1;
    int32_t surround = 0;
    int32_t attract = 0;
    int32_t retro = 0;
    int32_t invincible = 0;
    int32_t death_timer = 0;
    int32_t gun_cooldown = 0;
    int32_t clear_frames = 0;
    float ship_x = 160.0f, ship_y = 100.0f;
    float ship_vx = 0.0f, ship_vy = 0.0f;
    float ship_angle = 0.0f;
    float heading_x = 0.0f, heading_y = -1.0f;
    float shot_speed = 3.0f;
    uint8_t fire_held = 0;
    uint8_t select_held = 0;
};

inline constexpr float THRUST = 0.08f;
inline constexpr float BASE_SHOT_SPEED = 3.0f;
inline constexpr float SHIP_RADIUS = 5.0f;
inline constexpr uint32_t FRAME_DELAY_MS = 10;

struct GameSprites {
    std::array<Sprite, SHIP_ORIENTATIONS> ship;
    Sprite saucer, repeller, spinner;
    std::array<Sprite, 2> cell;
    Sprite tally_tens, tally_hundreds;
    std::array<Sprite, BONUS_KIND_COUNT> bonus_icons;
    std::array<Sprite, 4> blocks;
    std::array<Sprite, ROCK_SPRITE_COUNT> rocks;
    std::array<uint8_t, ROCK_SPRITE_COUNT + 1> rock_sizes{};
    Sprite shot, bullet, pellet, core;
};

// Running counts of what the world did in one game: foes made and destroyed by kind, and
// pick-ups collected by kind. Kept for tests, soak runs and tools; no rule of the game reads
// them. Index 0 is unused so that a kind number indexes its own entry.
struct GameTally {
    std::array<uint32_t, FOE_KIND_COUNT + 1> born{};       // placed, broken off, fired or divided
    std::array<uint32_t, FOE_KIND_COUNT + 1> destroyed{};  // carried out by the destroy step
    std::array<uint32_t, FOE_KIND_COUNT + 1> split{};      // destroyed and left fragments
    std::array<uint32_t, BONUS_KIND_COUNT + 1> collected{};
    uint32_t merges = 0;     // lodestone pairs merged
    uint32_t divisions = 0;  // cells divided
};

struct LevelProgress;

// One game. Big (about 400 KB): allocate it once per game, never per frame.
struct Game {
    Player player;
    ShotPool shots;
    DebrisPool debris;
    FoePool foes;
    BonusPool boni;
    HitPairs hits;
    GameSprites sprites;
    LevelProgress* progress = nullptr;  // the menu's table; the level end records into it
    uint64_t frame_number = 0;
    GameTally tally;
};

}  // namespace qvar
