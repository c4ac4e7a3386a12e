// The world's hot loops four lanes at a time: plain SSE at the default x86-64 level.
#include <cmath>
#include <cstring>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include "util/numeric.h"
#include "world/lanes_width.h"

#define LANES 4
#define LANES_TARGET

namespace qvar::world::lanes4 {
#include "world/lanes_body.inc"
}  // namespace qvar::world::lanes4
