// The packed per-kind foe list of the pass.
#include "world/kind_list.h"

#include "world/world_internal.h"

namespace qvar::world {

void KindList::fill(int32_t e, const FoePool& f, const GameSprites& s, int32_t i) {
    const auto k = static_cast<size_t>(e);
    const auto q = static_cast<size_t>(i);
    slot[k] = i;
    gen[k] = f.gen[q];
    x[k] = f.x[q];
    y[k] = f.y[q];
    size[k] = static_cast<float>(rock_size(s, f.gen[q]));
    mass[k] = static_cast<float>(f.gen[q]);
    entry[q] = static_cast<int16_t>(e);
}

// Spare lanes after the last entry: far away, never this slot, heavy enough to be skipped.
void KindList::pad() {
    for (int32_t e = n; e < n + 8 && e < PAD; ++e) {
        const auto k = static_cast<size_t>(e);
        slot[k] = -1;
        gen[k] = 1 << 20;
        x[k] = y[k] = 1.0e6f;
        size[k] = mass[k] = 0.0f;
    }
}

void KindList::build(const FoePool& f, const GameSprites& s, int32_t kind_wanted) {
    kind = kind_wanted;
    n = 0;
    entry.fill(-1);
    for (int32_t i = 0; i < f.count; ++i)
        if (f.kind[static_cast<size_t>(i)] == kind) fill(n++, f, s, i);
    pad();
}

void KindList::sync(const FoePool& f, const GameSprites& s, int32_t i) {
    if (i < 0 || i >= FOE_CAPACITY) return;
    const int32_t e = entry[static_cast<size_t>(i)];
    if (e >= 0) fill(e, f, s, i);
}

void KindList::appended(const FoePool& f, const GameSprites& s, int32_t i) {
    if (i < 0 || i >= FOE_CAPACITY || f.kind[static_cast<size_t>(i)] != kind || n >= CAP) return;
    fill(n++, f, s, i);
    pad();
}

// Copies entry `from` to entry `to` and points its slot at the new place.
void KindList::move_entry(int32_t to, int32_t from) {
    const auto a = static_cast<size_t>(to), b = static_cast<size_t>(from);
    slot[a] = slot[b];
    gen[a] = gen[b];
    x[a] = x[b];
    y[a] = y[b];
    size[a] = size[b];
    mass[a] = mass[b];
    entry[static_cast<size_t>(slot[a])] = static_cast<int16_t>(to);
}

void KindList::erase(int32_t e) {
    entry[static_cast<size_t>(slot[static_cast<size_t>(e)])] = -1;
    for (int32_t k = e; k + 1 < n; ++k) {
        move_entry(k, k + 1);
    }
    --n;
}

// Makes room at entry e and lists slot i there.
void KindList::insert(int32_t e, const FoePool& f, const GameSprites& s, int32_t i) {
    for (int32_t k = n; k > e; --k) {
        move_entry(k, k - 1);
    }
    ++n;
    fill(e, f, s, i);
}

void KindList::removed(const FoePool& f, const GameSprites& s, int32_t j, int32_t last) {
    if (j < 0 || last < 0 || j >= FOE_CAPACITY || last >= FOE_CAPACITY) return;
    const int32_t el = entry[static_cast<size_t>(last)];
    if (el >= 0) erase(el);  // the highest slot, so the last entry
    if (last != j) {
        const int32_t e = entry[static_cast<size_t>(j)];
        const bool listed_now = f.kind[static_cast<size_t>(j)] == kind;
        if (e >= 0 && listed_now) {
            fill(e, f, s, j);  // one listed foe took another's place: order unchanged
        } else if (e >= 0) {
            erase(e);
        } else if (listed_now) {
            int32_t at = 0;
            while (at < n && slot[static_cast<size_t>(at)] < j) ++at;
            insert(at, f, s, j);
        }
    }
    pad();
}

}  // namespace qvar::world
