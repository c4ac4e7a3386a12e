// The game's sine, cosine, exponential and power: the same bits on every machine and build.
#pragma once

namespace qvar {

// The C libraries disagree in the last bit of sinf, cosf, expf and powf (glibc picks FMA
// or plain code by processor; the browser's libc has other code again), and one bit is
// enough to part two replays of a recording. These use only IEEE basic operations, so
// every build and every machine gives the same result. Each is the exact value rounded to
// float for all but a vanishing few arguments (it is computed in double, to about 2^-52).
//
// sine and cosine: exact rounding for |x| < 2^28; beyond that, deterministic and within
// [-1, 1]. A NaN or an infinity gives NaN.
float sine(float x);
float cosine(float x);

// e^x; overflows to +infinity above about 88.72 and gives 0 below about -103.97.
float exponential(float x);

// base^exponent for a positive, finite base and a finite exponent (the game's only use);
// anything else gives NaN.
float power(float base, float exponent);

}  // namespace qvar
