// The program's one spark pool, shared by the main menu and the game.
#pragma once

#include <array>
#include <cstdint>

namespace qvar {

inline constexpr int32_t SPARK_CAPACITY = 10000;

struct SparkPool {
    static constexpr int32_t capacity = SPARK_CAPACITY;
    int32_t count = 0;
    std::array<float, SPARK_CAPACITY> x{}, y{}, dx{}, dy{};
    std::array<uint8_t, SPARK_CAPACITY> colour{};

    template <class F>
    void for_each_column(F&& f) {
        f(x);
        f(y);
        f(dx);
        f(dy);
        f(colour);
    }
};

}  // namespace qvar
