// Frame pacing by deadlines.
#include "platform/frame_pacing.h"

namespace qvar {

uint64_t next_frame_deadline(FramePacer& pacer, uint64_t now_us, uint64_t delay_us) {
    const uint64_t on_time = pacer.last_deadline_us + delay_us;
    const bool keeps_step = pacer.started && now_us >= pacer.last_deadline_us && now_us <= on_time;
    pacer.last_deadline_us = keeps_step ? on_time : now_us + delay_us;
    pacer.started = true;
    return pacer.last_deadline_us;
}

}  // namespace qvar
