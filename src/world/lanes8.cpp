// The world's hot loops eight lanes at a time, for x86-64 processors with AVX2. Only these
// functions are built for AVX2 (by their attribute, not by a flag for the whole file), so
// nothing shared with the rest of the program can pick up instructions an older processor
// lacks. FMA is not enabled, and contraction is off for the whole build anyway.
#if defined(__x86_64__)

#include <immintrin.h>

#include <cmath>
#include <cstring>

#include "util/numeric.h"
#include "world/lanes_width.h"

#define LANES 8
#define LANES_TARGET __attribute__((target("avx2")))

namespace qvar::world::lanes8 {
#include "world/lanes_body.inc"
}  // namespace qvar::world::lanes8

#endif
