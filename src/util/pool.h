// The one append-and-remove mechanism shared by every fixed-capacity pool.
//
// A pool is a struct of parallel columns (std::array or BitSet) with
//   static constexpr int capacity;  int count;
//   template <class F> void for_each_column(F&& f);   // f(column) for every column that moves
// Live entries occupy 0 .. count-1. Nothing here allocates.
#pragma once

#include <array>
#include <cstdint>

#include "util/bits.h"

namespace qvar {

// Slots [first, end) handed to a producer; empty when the pool was already full.
struct SlotRange {
    int32_t first = 0;
    int32_t end = 0;
    int32_t size() const { return end - first; }
};

// Appends up to k entries: the count becomes min(count + k, capacity), so a full pool
// silently takes fewer or none. The caller fills the returned slots.
template <class Pool>
SlotRange pool_append(Pool& pool, int32_t k) {
    int32_t first = pool.count;
    if (k < 0) k = 0;
    int32_t room = Pool::capacity - first;
    int32_t n = first + (k < room ? k : room);
    if (n < first) n = first;
    pool.count = n;
    return {first, n};
}

template <class T, size_t N>
void move_slot(std::array<T, N>& column, int32_t to, int32_t from) {
    column[static_cast<size_t>(to)] = column[static_cast<size_t>(from)];
}

template <int N>
void move_slot(BitSet<N>& column, int32_t to, int32_t from) {
    column.set(to, column.get(from));
}

// Removes entry i by copying the last live entry (every column) into its slot and
// decreasing the count; order is not kept. Removing the last entry copies it onto itself.
template <class Pool>
void pool_remove(Pool& pool, int32_t i) {
    if (i < 0 || i >= pool.count) return;
    int32_t last = pool.count - 1;
    pool.for_each_column([&](auto& column) { move_slot(column, i, last); });
    pool.count = last;
}

}  // namespace qvar
