// Pieces of the destroy step shared between its files.
#pragma once

#include "world/world_internal.h"

namespace qvar::world {

// A destroyed foe as it stood when its destruction began.
struct Parent {
    int32_t slot;
    int32_t kind;
    int32_t gen;
    float x, y, dx, dy, angle;
};

// Appends up to k fragments at the parent's place, of its kind, at rest, with its effect bits
// and a clear dead bit; the caller sets what differs. Only as many as fit are made.
SlotRange append_fragments(Game& g, int32_t parent, int32_t k);

// The kind's destruction: fragments first, then sparks, then points.
void break_up(System& sys, Game& g, const Parent& p);

}  // namespace qvar::world
