// Whole games on the headless backend driven by a repeatable random player, with the checks
// a soak run makes after every frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/game.h"
#include "game/game_state.h"
#include "screens/progress_file.h"
#include "test_support.h"
#include "util/random.h"

namespace qvar::test {

// A player that mostly aims at the nearest foe and fires, flies to pick-ups when it can take
// them, now and then rams a foe, and otherwise presses keys at random. Its own generator makes every run the same.
struct SoakPlayer {
    Random rng;
    int32_t fire_frames = 0;
    int32_t reckless_frames = 0;
    uint64_t frames_played = 0;
    bool greedy_for_boni = true;

    // Sets the key states for the next frame.
    void choose_keys(HeadlessPlatform& platform, const Game& game);
};

// What the soak saw over its games.
struct SoakReport {
    uint64_t frames = 0;
    int32_t games = 0;
    int32_t ships_lost = 0;
    int32_t level_changes = 0;
    int32_t highest_level = 0;
    int32_t most_foes = 0;
    int32_t most_sparks = 0;
    int32_t most_debris = 0;
    int32_t most_shots = 0;
    int32_t most_boni = 0;
    GameTally tally;  // summed over the games
    std::string first_fault;  // empty when every check passed
};

// Checks every count, position and real of the game and the spark pool; returns a description
// of the first fault found, or an empty string.
std::string check_world(const System& sys, const Game& game);

// Plays `frames` frames from `start_level` (the first level played is start_level + 1) with
// the given ships, starting new games when one ends. The foes of a level that drags on past
// `hurry_after` frames are set white-hot, so that the run keeps moving through levels.
struct SoakRun {
    int32_t start_level = 0;
    int32_t ships = 3;
    uint64_t frames = 2000;
    int32_t hurry_after = 120;
    uint32_t seed = 1;
};
SoakReport soak(const SoakRun& run);

// Frames per start level: QVAR_SOAK_FRAMES when set to a positive number, else `fallback`.
uint64_t soak_frames(uint64_t fallback);

}  // namespace qvar::test
