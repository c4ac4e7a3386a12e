// Frame pacing: when the delay after a presented frame ends.
//
// A frame's delay ends at the previous frame's deadline plus the delay, so a loop whose work
// and present take less than the delay runs at exactly one frame per delay. When they take
// longer, the delay counts from the call, as it always did: the frame is late by its own
// excess and the loop slows down instead of rushing to catch up. The same rule keeps a frame
// that comes long after the last deadline (the machine was suspended, the window dragged, a
// screen waited for a key) from being followed by a burst: the deadlines start afresh.
#pragma once

#include <cstdint>

namespace qvar {

struct FramePacer {
    uint64_t last_deadline_us = 0;
    bool started = false;
};

// The deadline for a delay of `delay_us` asked for at `now_us`; remembered for the next call.
uint64_t next_frame_deadline(FramePacer& pacer, uint64_t now_us, uint64_t delay_us);

}  // namespace qvar
