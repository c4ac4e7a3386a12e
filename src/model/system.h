// The program-wide state: the machine, and what start-up loads once for every screen and
// game (font, large digits, the spark pool, the random generator, the file folders, the
// notice of a failed save).
#pragma once

#include <array>
#include <string>

#include "gfx/sprite.h"
#include "gfx/text.h"
#include "model/notice.h"
#include "model/spark_pool.h"
#include "platform/machine.h"
#include "util/files.h"
#include "util/random.h"

namespace qvar {

// Created once by the program before start-up and alive until it ends. Everything the
// platform layer needs lives in the Machine base, so the waits and presents take it as is.
struct System : Machine {
    explicit System(Platform& p) : Machine(p) {}

    Font font;
    std::array<Sprite, 10> large_digits;
    std::array<Sprite, 10> large_digits_swapped;
    SparkPool sparks;
    Random rng;
    Paths paths;
    std::string trace_path;  // --trace: one JSON line per game frame, when set
    Notice notice;           // a failed save, told to the player on the next screen
};

}  // namespace qvar
