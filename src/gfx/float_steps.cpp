// Runs of repeated float additions. Within one binade [2^e, 2^(e+1)) every float is a whole
// number m of units u = 2^(e-23), and a sum that stays inside the binade is rounded to that
// grid: away from a tie every step adds the same whole number of units; at a tie (d / u ending
// in exactly one half) rounding to even leaves m even after one step, and from an even m the
// increment is constant too. A run stops one unit short of either edge of the binade, where
// the grid of the sum may change; the steps there, and around zero, are taken one at a time.
#include "gfx/float_steps.h"

#include <cmath>

#include "util/numeric.h"

namespace qvar {

namespace {

// bit_cast, which the browser build's older C++ library lacks; both compilers have the
// builtin behind it.
template <class To, class From>
constexpr To bit_cast(const From& v) {
    return __builtin_bit_cast(To, v);
}

constexpr int64_t M_LOW = int64_t{1} << 23;   // m of 2^e
constexpr int64_t M_HIGH = int64_t{1} << 24;  // m of 2^(e+1)

// The addend as a whole number times 2^(field - 150); a subnormal has field 1, no hidden bit.
struct Addend {
    int64_t mant = 0;
    int32_t field = 0;
    bool negative = false;
};

Addend addend_of(float d) {
    const uint32_t bits = bit_cast<uint32_t>(d);
    const auto field = static_cast<int32_t>((bits >> 23) & 0xFFu);
    const auto low = static_cast<int64_t>(bits & 0x7FFFFFu);
    return {field == 0 ? low : (M_LOW | low), field == 0 ? 1 : field, (bits >> 31) != 0};
}

// The steps from m (in the binade with exponent field `field`) add the addend rounded to a
// whole number of units: `inc`, 0 when the sum rounds back to x. False when the next step
// must be a plain one: the addend is half the binade or more, or it ends in exactly
// half a unit and m is odd.
bool run_increment(const Addend& a, int32_t field, int64_t m, int64_t& inc) {
    const int32_t shift = field - a.field;
    if (shift < 2) return false;
    if (shift > 25) {  // less than a quarter of a unit
        inc = 0;
        return true;
    }
    const int64_t whole = a.mant >> shift;
    const int64_t rest = a.mant & ((int64_t{1} << shift) - 1);
    const int64_t half = int64_t{1} << (shift - 1);
    if (rest == half && (m & 1) != 0) return false;
    inc = whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
    return true;
}

struct Goal {
    bool any = false;  // a threshold to stop past
    bool rising = false;
    float t = 0.0f;
    bool past(float v) const { return rising ? v > t : v < t; }
};

// x's binade: |x| = m * 2^(field - 150). The float with another m in the same binade.
struct Binade {
    uint32_t sign_and_field;
    int64_t m;
    float with(int64_t other) const { return bit_cast<float>(sign_and_field | static_cast<uint32_t>(other - M_LOW)); }
};

// The first of the steps 1 .. n of a run (x + i * delta) that lies past the goal, knowing the
// n-th does: estimated, then settled exactly.
int64_t first_past(const Binade& b, int64_t inc, int64_t n, float x, float x_n, const Goal& goal) {
    const double delta = (static_cast<double>(x_n) - static_cast<double>(x)) / static_cast<double>(n);  // exact
    const double at = (static_cast<double>(goal.t) - static_cast<double>(x)) / delta;
    int64_t i = at < 1.0 ? 1 : (at < static_cast<double>(n) ? int64_t{trunc_i32(at)} + 1 : n);
    while (i > 1 && goal.past(b.with(b.m + (i - 1) * inc))) --i;
    while (!goal.past(b.with(b.m + i * inc))) ++i;
    return i;
}

// The run from x: each of the next `room` steps adds `inc` units (negative toward zero) and
// stays a unit inside x's binade. False when the next step must be a plain one; inc 0 when
// every sum rounds back to x.
bool steady_run(float x, const Addend& a, Binade& b, int64_t& inc, int64_t& room) {
    const uint32_t bits = bit_cast<uint32_t>(x);
    const auto field = static_cast<int32_t>((bits >> 23) & 0xFFu);
    b = Binade{bits & 0xFF800000u, M_LOW | static_cast<int64_t>(bits & 0x7FFFFFu)};
    if (field == 0 || field == 0xFF || !run_increment(a, field, b.m, inc)) return false;
    if (inc == 0) return true;
    if (((bits >> 31) != 0) != a.negative) inc = -inc;
    room = inc > 0 ? (M_HIGH - 1 - b.m) / inc : (b.m - M_LOW - 1) / -inc;
    return true;
}

// Steps x at most `limit` times, stopping on the first value past the goal. Returns the number
// of steps taken; NEVER when x stops changing first (or, with a goal, never passes it).
uint64_t run(float& x, float d, uint64_t limit, const Goal& goal) {
    const Addend a = addend_of(d);
    uint64_t k = 0;
    while (k < limit) {
        if (goal.any && goal.past(x)) return k;
        Binade b{};
        int64_t inc = 0, room = 0;
        if (steady_run(x, a, b, inc, room)) {
            if (inc == 0) return NEVER;
            const uint64_t left = limit - k;
            const bool to_edge = left > static_cast<uint64_t>(room);
            int64_t n = to_edge ? room : static_cast<int64_t>(left);
            if (n > 0) {
                float x_n = b.with(b.m + n * inc);
                if (goal.any && goal.past(x_n)) {
                    n = first_past(b, inc, n, x, x_n, goal);
                    x_n = b.with(b.m + n * inc);
                }
                x = x_n;
                k += static_cast<uint64_t>(n);
                if (!to_edge || (goal.any && goal.past(x))) continue;
            }
        }
        const float next = x + d;  // at the edge of a binade, or where no run applies
        if (next == x) return NEVER;
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

float advance_by_ones(float x, uint64_t n) {
    for (; n > 0 && x > -1.0f && x < 1.0f; --n) x += 1.0f;  // at most two steps up to 1
    if (n == 0 || !(x >= 1.0f && x < 16777216.0f)) return advance_steps(x, 1.0f, n);
    // In units of 2^-23 every x from 1 up to 2^24 is a whole number A; a step adds 2^23 exactly
    // until x passes a power of two, where the sum is rounded to the coarser grid.
    constexpr int64_t ONE = int64_t{1} << 23;
    const uint32_t bits = bit_cast<uint32_t>(x);  // x = m * 2^(field - 150), field 127 .. 150
    auto A = (M_LOW | static_cast<int64_t>(bits & 0x7FFFFFu)) << (((bits >> 23) & 0xFFu) - 127);
    while (n > 0) {
        const int32_t e = 63 - __builtin_clzll(static_cast<uint64_t>(A)) - 23;  // x in [2^e, 2^(e+1))
        if (e >= 24) return advance_steps(static_cast<float>(A) / 8388608.0f, 1.0f, n);
        const int64_t to_edge = ((int64_t{1} << (e + 24)) - A + ONE - 1) >> 23;
        if (n < static_cast<uint64_t>(to_edge)) {
            A += static_cast<int64_t>(n) << 23;
            break;
        }
        A += to_edge << 23;
        n -= static_cast<uint64_t>(to_edge);
        // Past the edge the grid is 2^(e+1) units; A lies on it or half-way, a tie to even.
        const int64_t grid = int64_t{1} << (e + 1);
        if ((A & (grid >> 1)) != 0) A = ((A >> (e + 1)) & 1) == 0 ? A - (grid >> 1) : A + (grid >> 1);
    }
    return static_cast<float>(A) / 8388608.0f;
}

uint64_t steps_past(float& x, float d, float t) {
    return run(x, d, NEVER, Goal{true, d > 0.0f, t});
}

}  // namespace qvar
