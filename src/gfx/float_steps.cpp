// Runs of repeated float additions. Within one binade [2^e, 2^(e+1)) every float is a whole
// number m of units u = 2^(e-23), and a sum that stays inside the binade is rounded to that
// grid: away from a tie every step adds the same whole number of units; at a tie (d / u ending
// in exactly one half) rounding to even leaves m even after one step, and from an even m the
// increment is constant too. A run stops one unit short of either edge of the binade, where
// the grid of the sum may change; the steps there, and around zero, are taken one at a time.
#include "gfx/float_steps.h"

#include <bit>
#include <cmath>

namespace qvar {

namespace {

constexpr int64_t M_LOW = int64_t{1} << 23;   // m of 2^e
constexpr int64_t M_HIGH = int64_t{1} << 24;  // m of 2^(e+1)

// |x| = m * 2^(field - 150), m in [2^23, 2^24), for a normal nonzero x.
struct Binade {
    bool negative = false;
    uint32_t field = 0;  // the biased exponent
    int64_t m = 0;
};

bool binade_of(float x, Binade& b) {
    const uint32_t bits = std::bit_cast<uint32_t>(x);
    b.field = (bits >> 23) & 0xFFu;
    if (b.field == 0 || b.field == 0xFFu) return false;  // zero, subnormal, infinite or NaN
    b.negative = (bits >> 31) != 0;
    b.m = M_LOW | static_cast<int64_t>(bits & 0x7FFFFFu);
    return true;
}

float from_binade(const Binade& b, int64_t m) {
    return std::bit_cast<float>((b.negative ? 0x80000000u : 0u) | (b.field << 23) |
                                static_cast<uint32_t>(m - M_LOW));
}

// v in units of the binade, signed so that the binade's own values are positive. Exact: a
// float times a power of two (2^-104 .. 2^149) as a double.
double in_units(const Binade& b, float v) {
    const double scale = std::bit_cast<double>(static_cast<uint64_t>(1023 + 150 - b.field) << 52);
    return (b.negative ? -static_cast<double>(v) : static_cast<double>(v)) * scale;
}

// The constant increment, in units, of the steps from x's m onward inside its binade; 0 when
// a single plain step must come first (a tie from an odd m) or x would not move.
int64_t run_increment(const Binade& b, float d) {
    const double r = in_units(b, d);
    if (!(std::fabs(r) < static_cast<double>(M_LOW))) return 0;  // one step leaves the binade
    const double whole = std::floor(r);
    const double part = r - whole;
    auto inc = static_cast<int64_t>(whole);
    if (part == 0.5 && (b.m & 1) != 0) return 0;
    if (part > 0.5 || (part == 0.5 && (inc & 1) != 0)) ++inc;
    return inc;
}

struct Goal {
    bool any = false;  // a threshold to stop past
    bool rising = false;
    float t = 0.0f;
    bool past(float v) const { return rising ? v > t : v < t; }
};

// Steps inside x's binade at most `most` of them, stopping on the first value past the goal.
// Returns the number taken: 0 when the next step must be a plain one.
uint64_t jump(float& x, float d, uint64_t most, const Goal& goal) {
    Binade b;
    if (!binade_of(x, b)) return 0;
    const int64_t inc = run_increment(b, d);
    if (inc == 0) return 0;
    const int64_t room = inc > 0 ? (M_HIGH - 1 - b.m) / inc : (b.m - M_LOW - 1) / -inc;
    if (room <= 0) return 0;
    int64_t n = most < static_cast<uint64_t>(room) ? static_cast<int64_t>(most) : room;
    const bool up = goal.rising != b.negative;  // past the goal: m above tu, or below it
    if (goal.any && (inc > 0) == up) {
        const double tu = in_units(b, goal.t);
        auto past = [&](int64_t i) {
            const auto v = static_cast<double>(b.m + i * inc);  // exact: below 2^25
            return up ? v > tu : v < tu;
        };
        // The first past step, estimated and then settled exactly.
        const double at = (tu - static_cast<double>(b.m)) / static_cast<double>(inc);
        int64_t i = n;
        if (at < 1.0) i = 1;
        else if (at < static_cast<double>(n)) i = static_cast<int64_t>(at) + 1;
        while (i > 1 && past(i - 1)) --i;
        while (i < n && !past(i)) ++i;
        if (past(i)) n = i;
    }
    x = from_binade(b, b.m + n * inc);
    return static_cast<uint64_t>(n);
}

uint64_t run(float& x, float d, uint64_t limit, const Goal& goal) {
    uint64_t k = 0;
    while (k < limit) {
        if (goal.any && goal.past(x)) return k;
        const uint64_t jumped = jump(x, d, limit - k, goal);
        if (jumped > 0) {
            k += jumped;
            continue;
        }
        const float next = x + d;
        if (next == x) return NEVER;  // stuck for good: every later sum rounds back to x
        x = next;
        ++k;
    }
    return goal.any && !goal.past(x) ? NEVER : k;
}

}  // namespace

float advance_steps(float x, float d, uint64_t n) {
    run(x, d, n, Goal{});
    return x;
}

uint64_t steps_past(float& x, float d, float t) {
    return run(x, d, NEVER, Goal{true, d > 0.0f, t});
}

}  // namespace qvar
