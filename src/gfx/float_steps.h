// Repeated single-precision additions (x <- x + d, each sum rounded) jumped over many steps at
// once, with the very bits that stepping them one by one would give. Lines use it to start
// stepping where they reach the screen instead of at their first end point.
#pragma once

#include <cstdint>

namespace qvar {

// Returned by steps_past when the sequence stops changing before it passes the threshold.
inline constexpr uint64_t NEVER = UINT64_MAX;

// x after n steps. x and d must be finite (a sum may still overflow to infinity, as it would
// one step at a time). Costs a few operations for every power of two that x passes.
float advance_steps(float x, float d, uint64_t n);

// advance_steps(x, 1, n), quicker: a few integer operations for every power of two passed.
float advance_by_ones(float x, uint64_t n);

// Steps x until x > t (when d > 0) or x < t (when d < 0) and returns the number of steps, x
// ending on the first value past t; 0 when x already lies past t. NEVER, with x left where it
// stopped changing, when no step reaches past t. x, d and t must be finite.
uint64_t steps_past(float& x, float d, float t);

}  // namespace qvar
