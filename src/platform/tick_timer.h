// The calibration timer of the real-time backends (SDL and the page): when its message is due.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace qvar {

struct TickTimer {
    int32_t id = 0;
    uint32_t period_ms = 0;  // 0: stopped
    uint64_t next_ms = 0;
};

// Called by start_timer: the first tick comes one period after `now_ms`.
void start_ticks(TickTimer& timer, int32_t id, uint32_t period_ms, uint64_t now_ms);

// Called when no other message waits: true with a Timer message in `out` once a tick is due.
// Ticks missed while the program was busy come as one message, as window timers do.
bool take_tick(TickTimer& timer, uint64_t now_ms, Message& out);

// How long a wait may sleep before the next tick: 0 when one is due, UINT64_MAX when stopped.
uint64_t ms_to_next_tick(const TickTimer& timer, uint64_t now_ms);

}  // namespace qvar
