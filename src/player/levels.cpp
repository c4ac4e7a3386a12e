// Levels: the recursive composition rule, and the change to the next level once the field has
// stayed empty long enough.
#include "player/levels.h"

#include <algorithm>

#include "store/progress_file.h"
#include "util/numeric.h"
#include "util/pool.h"
#include "util/random.h"

namespace qvar {

namespace {

using Counts = std::array<int32_t, 10>;

constexpr int32_t TRIANGULAR[10] = {1, 3, 6, 10, 15, 21, 28, 36, 45, 55};

// Room for every distinct level that any int32 level reaches through the two rules (never
// more than about 2000), with a wide margin.
constexpr int32_t MAX_REACHED = 8192;

int32_t triangular_slot(int64_t n) {
    for (int32_t j = 0; j < 10; ++j)
        if (TRIANGULAR[j] == n) return j;
    return -1;
}

int64_t half_up(int64_t n) { return (n + 1) / 2; }
int64_t three_quarters(int64_t n) { return 3 * n / 4; }

// Every level the rule reaches from n, each once, in ascending order. Children are always
// smaller than their parent, so popping a max-heap meets all copies of a value in a row.
int32_t reached_levels(int32_t n, std::array<int32_t, MAX_REACHED>& out, std::array<int64_t, 2 * MAX_REACHED + 1>& heap) {
    int32_t heap_size = 0, count = 0;
    heap[static_cast<size_t>(heap_size++)] = n;
    int64_t previous = -1;
    while (heap_size > 0 && count < MAX_REACHED) {
        std::pop_heap(heap.begin(), heap.begin() + heap_size);
        const int64_t v = heap[static_cast<size_t>(--heap_size)];
        if (v == previous) continue;
        previous = v;
        out[static_cast<size_t>(count++)] = static_cast<int32_t>(v);
        if (triangular_slot(v) >= 0 || heap_size + 2 > static_cast<int32_t>(heap.size())) continue;
        heap[static_cast<size_t>(heap_size++)] = half_up(v);
        std::push_heap(heap.begin(), heap.begin() + heap_size);
        heap[static_cast<size_t>(heap_size++)] = three_quarters(v);
        std::push_heap(heap.begin(), heap.begin() + heap_size);
    }
    std::reverse(out.begin(), out.begin() + count);
    return count;
}

int32_t gen_for_slot(int32_t slot, int32_t r) {
    const int64_t r64 = r;
    switch (slot) {
        case 0:
        case 8: return static_cast<int32_t>(std::min<int64_t>(3 * r64 + 2, 15));  // rock, lodestone
        case 1: return static_cast<int32_t>(std::min<int64_t>(3 * r64 + 1, INT32_MAX));  // wheel spokes
        case 3: {
            // trunc(ln r / ln 2 + 3), taken exactly: the whole part of log2 r, plus 3.
            int32_t bits = 0;
            for (uint32_t v = static_cast<uint32_t>(r); v > 1; v >>= 1) ++bits;
            return bits + 3;
        }
        case 4: return static_cast<int32_t>(std::min<int64_t>(r64 + 3, INT32_MAX));  // web corners
        case 6: return r > 2 ? 3 : 2;  // block
        default: return 0;  // saucers, repellers and spinners ignore it; a cell counts down from 0
    }
}

constexpr int32_t SLOT_KINDS[10] = {ROCK, WHEEL, SAUCER, TRIANGLE, WEB, REPELLER, BLOCK, CELL, LODESTONE, SPINNER};

void place_foe(System& sys, FoePool& f, int32_t i, int32_t slot, int32_t r) {
    const auto k = static_cast<size_t>(i);
    f.x[k] = random_real(sys.rng, 320.0f);
    f.y[k] = random_real(sys.rng, 200.0f);
    f.dx[k] = random_real(sys.rng, 2.0f) - 1.0f;
    f.dy[k] = random_real(sys.rng, 2.0f) - 1.0f;
    f.angle[k] = 0.0f;
    f.spin[k] = random_real(sys.rng, 0.1f) - 0.05f;
    f.flamed.set(i, 0);
    f.plasma.set(i, 0);
    f.whitehot.set(i, 0);
    f.dead.set(i, 0);
    f.kind[k] = SLOT_KINDS[slot];
    f.gen[k] = gen_for_slot(slot, r);
}

// Foe i belongs to the first slot whose running total exceeds i; r counts down within a slot.
void scatter_foes(System& sys, Game& game, const Counts& counts) {
    FoePool& f = game.foes;
    int64_t total = 0;
    for (int32_t c : counts) total += c < 0 ? 0 : c;
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(total, FOE_CAPACITY));
    int32_t i = 0;
    for (int32_t slot = 0; slot < 10 && i < n; ++slot)
        for (int32_t r = counts[static_cast<size_t>(slot)]; r >= 1 && i < n; --r) {
            place_foe(sys, f, i++, slot, r);
            game.tally.born[static_cast<size_t>(SLOT_KINDS[slot])] += 1;
        }
    f.count = n;
}

void fade_upgrades(Player& p) {
    if (p.flame_count != 0) p.flame_count -= 1;
    p.whitehot_timer = 0;
    if (p.attract != 0) p.attract -= 1;
    if (p.shot_speed > BASE_SHOT_SPEED + 0.001f) p.shot_speed /= 1.4f;
    if (p.retro != 0) p.retro -= 1;
}

}  // namespace

std::array<int32_t, 10> compose_level(int32_t n) {
    Counts none{};
    if (n < 1) return none;  // the rule starts at level 1
    // Working space kept between calls (the game has one thread), so a level change
    // allocates nothing.
    static std::array<int32_t, MAX_REACHED> levels;
    static std::array<int64_t, 2 * MAX_REACHED + 1> heap;
    static std::array<Counts, MAX_REACHED> counts;
    const int32_t count = reached_levels(n, levels, heap);
    auto find = [&](int64_t v) -> const Counts& {
        auto it = std::lower_bound(levels.begin(), levels.begin() + count, static_cast<int32_t>(v));
        return counts[static_cast<size_t>(it - levels.begin())];
    };
    for (int32_t k = 0; k < count; ++k) {
        const int32_t v = levels[static_cast<size_t>(k)];
        Counts& c = counts[static_cast<size_t>(k)];
        c = none;
        const int32_t tri = triangular_slot(v);
        if (tri >= 0) {
            c[static_cast<size_t>(tri)] = 1;
            continue;
        }
        const Counts& a = find(half_up(v));
        const Counts& b = find(three_quarters(v));
        const int32_t m = v / 50 + 4;
        for (size_t j = 0; j < 10; ++j) c[j] = (a[j] + b[j]) % m;
    }
    return counts[static_cast<size_t>(count - 1)];
}

void level_end_step(System& sys, Game& game) {
    Player& p = game.player;
    if (!(p.clear_frames > 150 && p.shown_score == p.score)) return;
    p.clear_frames = 0;
    if (p.level < INT32_MAX) p.level += 1;
    p.invincible = 250;
    if (game.progress != nullptr) {
        const ProgressRecord record = record_level_progress(*game.progress, p.level, p.ships);
        if (!record.saved) notice_save_failure(sys, PROGRESS_FILE, "the levels reached", record.saved);
    }
    scatter_foes(sys, game, compose_level(p.level));
    fade_upgrades(p);
}

}  // namespace qvar
