// Sine, cosine, exponential and power from basic double operations: see float_math.h.
#include "util/float_math.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace qvar {

namespace {

// pi/2 as four doubles: the first three of 24 bits, so that k times each is exact for
// |k| < 2^29, and the fourth the rest to double precision.
constexpr double PIO2_1 = 0x1.921fb6p+0;
constexpr double PIO2_2 = -0x1.777a5cp-25;
constexpr double PIO2_3 = -0x1.ee59dap-50;
constexpr double PIO2_4 = 0x1.98a2e03707345p-77;
constexpr double TWO_OVER_PI = 0x1.45f306dc9c883p-1;
constexpr double PIO4 = 0x1.921fb54442d18p-1;
constexpr double TWO_PI = 0x1.921fb54442d18p+2;
// ln 2 as a 32-bit head and its tail, so that k times the head is exact for |k| < 2^21.
constexpr double LN2_HI = 0x1.62e42ffp-1;
constexpr double LN2_LO = -0x1.718432a1b0e26p-35;
constexpr double LN2 = 0x1.62e42fefa39efp-1;
constexpr double INV_LN2 = 0x1.71547652b82fep+0;
constexpr double SQRT_HALF = 0x1.6a09e667f3bcdp-1;

constexpr double factorial(int n) { return n <= 1 ? 1.0 : n * factorial(n - 1); }

// Taylor coefficients, worked out by the compiler: SIN[i] = (-1)^(i+1) / (2i+3)!,
// COS[i] = (-1)^i / (2i)!, EXP[i] = 1 / i!, LOG[i] = 1 / (2i+1).
template <int N, class Term>
constexpr std::array<double, N> coefficients(Term term) {
    std::array<double, N> c{};
    for (int i = 0; i < N; ++i) c[static_cast<size_t>(i)] = term(i);
    return c;
}
constexpr auto SIN = coefficients<8>([](int i) { return (i % 2 ? 1.0 : -1.0) / factorial(2 * i + 3); });
constexpr auto COS = coefficients<10>([](int i) { return (i % 2 ? -1.0 : 1.0) / factorial(2 * i); });
constexpr auto EXP = coefficients<15>([](int i) { return 1.0 / factorial(i); });
constexpr auto LOG = coefficients<12>([](int i) { return 1.0 / (2 * i + 1); });

// Horner's rule: c[0] + z c[1] + z^2 c[2] + ...
template <size_t N>
double polynomial(const std::array<double, N>& c, double z) {
    double p = c[N - 1];
    for (size_t i = N - 1; i-- > 0;) p = c[i] + z * p;
    return p;
}

// Taylor series on |r| <= pi/4: the first left-out term is below 2^-60 of the result.
// sin r = r + r^3 (-1/3! + r^2/5! - ...): the small part is added to r last.
double sin_kernel(double r) {
    const double z = r * r;
    return r + r * z * polynomial(SIN, z);
}

double cos_kernel(double r) { return polynomial(COS, r * r); }

struct Reduced {
    double r;         // x - k pi/2, |r| <= about pi/4
    uint32_t quarter; // k mod 4
};

Reduced reduce(double x) {
    if (std::fabs(x) <= PIO4) return {x, 0};
    // Past 2^28 the products above stop being exact; fmod is exact on every libc, so a huge
    // angle still gives the same (if not the truest) bits everywhere.
    if (std::fabs(x) >= 0x1p28) x = std::fmod(x, TWO_PI);
    const double k = std::floor(x * TWO_OVER_PI + 0.5);
    const double r = (((x - k * PIO2_1) - k * PIO2_2) - k * PIO2_3) - k * PIO2_4;
    const double k_mod_4 = k - 4.0 * std::floor(k / 4.0);  // exact: k is a whole number
    return {r, static_cast<uint32_t>(k_mod_4)};
}

// e^y for the float functions: the double result, rounded to float by the caller.
float exp_to_float(double y) {
    if (std::isnan(y)) return std::numeric_limits<float>::quiet_NaN();
    if (y > 89.0) return std::numeric_limits<float>::infinity();
    if (y < -105.0) return 0.0f;
    const double k = std::floor(y * INV_LN2 + 0.5);
    const double r = (y - k * LN2_HI) - k * LN2_LO;
    return static_cast<float>(std::ldexp(polynomial(EXP, r), static_cast<int>(k)));
}

// ln b for a positive finite b, to about 2^-52 relative.
double log_of_positive(double b) {
    int e = 0;
    double m = std::frexp(b, &e);
    if (m < SQRT_HALF) m *= 2.0, --e;
    const double s = (m - 1.0) / (m + 1.0), z = s * s;  // |s| <= 0.1716
    return e * LN2 + 2.0 * s * polynomial(LOG, z);
}

}  // namespace

float sine(float x) {
    if (!std::isfinite(x)) return std::numeric_limits<float>::quiet_NaN();
    if (x == 0.0f) return x;  // keeps the sign of zero
    const Reduced q = reduce(x);
    switch (q.quarter) {
    case 0: return static_cast<float>(sin_kernel(q.r));
    case 1: return static_cast<float>(cos_kernel(q.r));
    case 2: return static_cast<float>(-sin_kernel(q.r));
    default: return static_cast<float>(-cos_kernel(q.r));
    }
}

float cosine(float x) {
    if (!std::isfinite(x)) return std::numeric_limits<float>::quiet_NaN();
    const Reduced q = reduce(x);
    switch (q.quarter) {
    case 0: return static_cast<float>(cos_kernel(q.r));
    case 1: return static_cast<float>(-sin_kernel(q.r));
    case 2: return static_cast<float>(-cos_kernel(q.r));
    default: return static_cast<float>(sin_kernel(q.r));
    }
}

float exponential(float x) { return exp_to_float(x); }

float power(float base, float exponent) {
    if (!(base > 0.0f) || !std::isfinite(base) || !std::isfinite(exponent))
        return std::numeric_limits<float>::quiet_NaN();
    return exp_to_float(static_cast<double>(exponent) * log_of_positive(base));
}

}  // namespace qvar
