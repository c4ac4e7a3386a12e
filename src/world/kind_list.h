// A packed list of the foes of one kind (cells, or lodestones) in slot order, with copies of
// their positions and sizes laid out for lane-wise scans. Kept in step with the foe pool while
// the pass moves, appends and removes foes, so a scan over it sees what a scan over the pool
// in slot order would see.
#pragma once

#include <array>
#include <cstdint>

#include "model/game_state.h"

namespace qvar::world {

struct KindList {
    static constexpr int32_t CAP = FOE_CAPACITY;
    static constexpr int32_t PAD = CAP + 8;  // room for the last group of eight lanes

    int32_t kind = 0;
    int32_t n = 0;
    std::array<int32_t, PAD> slot;   // ascending
    std::array<int32_t, PAD> gen;
    std::array<float, PAD> x, y;
    std::array<float, PAD> size, mass;  // rock size and gen as reals (lodestones)
    std::array<int16_t, FOE_CAPACITY> entry;  // entry of a slot, or -1

    // Lists every live foe of `kind`.
    void build(const FoePool& f, const GameSprites& s, int32_t kind_wanted);
    // Copies position and size of slot i from the pool (after it moved or merged).
    void sync(const FoePool& f, const GameSprites& s, int32_t i);
    // A foe was appended at slot i (always the highest slot).
    void appended(const FoePool& f, const GameSprites& s, int32_t i);
    // Slot j was removed and the foe of slot `last` moved into it (last == j: simply removed).
    void removed(const FoePool& f, const GameSprites& s, int32_t j, int32_t last);

private:
    void fill(int32_t e, const FoePool& f, const GameSprites& s, int32_t i);
    void move_entry(int32_t to, int32_t from);
    void erase(int32_t e);
    void insert(int32_t e, const FoePool& f, const GameSprites& s, int32_t i);
    void pad();
};

}  // namespace qvar::world
