// The calibration timer's ticks: see tick_timer.h.
#include "platform/tick_timer.h"

namespace qvar {

void start_ticks(TickTimer& timer, int32_t id, uint32_t period_ms, uint64_t now_ms) {
    timer.id = id;
    timer.period_ms = period_ms;
    timer.next_ms = now_ms + period_ms;
}

bool take_tick(TickTimer& timer, uint64_t now_ms, Message& out) {
    if (timer.period_ms == 0 || now_ms < timer.next_ms) return false;
    while (timer.next_ms <= now_ms) timer.next_ms += timer.period_ms;
    out = Message{};
    out.kind = MessageKind::Timer;
    out.timer_id = timer.id;
    return true;
}

uint64_t ms_to_next_tick(const TickTimer& timer, uint64_t now_ms) {
    if (timer.period_ms == 0) return UINT64_MAX;
    return timer.next_ms <= now_ms ? 0 : timer.next_ms - now_ms;
}

}  // namespace qvar
