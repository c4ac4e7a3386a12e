// Presenting frames, pumping messages, sleeping delays and the waits built on them.
#include "platform/machine.h"

#include <cstdio>

namespace qvar {

void present_frame(Machine& sys) {
    const uint64_t start = sys.stats != nullptr ? sys.platform.now_us() : 0;
    if (sys.display_open) sys.platform.present(sys.frame.pixels.data());
    if (sys.stats != nullptr) sys.stats->frame_presented(start, sys.platform.now_us());
    sys.frame.clear();
    ++sys.frames_presented;
    end_input_frame(sys.input);
    if (sys.recorder != nullptr) sys.recorder->each_writer([](RecordWriter& w) { w.flush(); });
}

void clear_and_present(Machine& sys) {
    sys.frame.clear();
    present_frame(sys);
}

void build_palette(Machine& sys, float gamma) {
    sys.palette = compute_palette(gamma);
    for (int i = 0; i < 256; ++i)
        sys.platform.set_palette_entry(static_cast<uint8_t>(i), sys.palette[static_cast<size_t>(i)]);
}

void release_display(Machine& sys) {
    sys.platform.release_display();
    sys.display_open = false;
}

void fatal_error(Machine& sys, const std::string& text) {
    release_display(sys);
    std::fprintf(stderr, "Oh sod it: %s\n", text.c_str());
    sys.platform.message_box("Oh sod it", text);
    sys.quit_requested = true;
}

namespace {

enum class Pumped { Nothing, Handled, Quit };

// In a playback the window's own messages are taken and dropped; only closing it counts.
void drop_window_messages(Machine& sys) {
    Message m;
    while (sys.platform.poll_message(m))
        if (m.kind == MessageKind::Quit) sys.quit_requested = sys.recorder->window_closed = true;
}

// The next pump's message from the playback; a recording that ran out or does not fit
// ends the run as a closed window would.
bool replayed_message(Machine& sys, Message& m) {
    drop_window_messages(sys);
    Recorder& r = *sys.recorder;
    if (!sys.quit_requested && !r.playback_over) {
        const RecordOp op = r.playback->peek();
        if (op == RecordOp::None) {
            r.playback->next();
            return false;
        }
        RecordEvent e;
        if (r.take(RecordOp::Message, e)) {
            m = e.message;
            return true;
        }
    }
    m = Message{};
    m.kind = MessageKind::Quit;
    return true;
}

// The platform's next message, noted by the recordings; inside a delay a pump that finds
// nothing is not noted, since only the delay's end matters there.
bool take_message(Machine& sys, Message& m, bool in_delay) {
    Recorder* r = sys.recorder;
    if (r != nullptr && r->replaying()) return replayed_message(sys, m);
    const bool got = sys.platform.poll_message(m);
    if (r != nullptr) {
        if (got) r->each_writer([&](RecordWriter& w) { w.pumped(m); });
        else if (!in_delay) r->each_writer([](RecordWriter& w) { w.pumped_nothing(); });
    }
    return got;
}

// Takes one pending message: a quit is remembered (never dispatched), anything else goes
// through the window procedure. `kind` tells what was handled.
Pumped pump_one(Machine& sys, MessageKind& kind, bool in_delay = false) {
    if (sys.quit_requested) return Pumped::Quit;
    Message m;
    if (!take_message(sys, m, in_delay)) return Pumped::Nothing;
    kind = m.kind;
    if (m.kind == MessageKind::Quit) {
        sys.quit_requested = true;
        return Pumped::Quit;
    }
    window_proc(sys.input, m);
    return Pumped::Handled;
}

// Handles pending messages until none is left or a quit arrives.
void drain_messages(Machine& sys) {
    MessageKind kind = MessageKind::Other;
    while (pump_one(sys, kind, true) == Pumped::Handled) {
    }
}

// A delay in a playback: it lasts as long (on the platform's clock, real or virtual), and
// then the messages the recorded delay handled are handled, up to its recorded end.
void replayed_delay(Machine& sys, uint64_t deadline) {
    for (uint64_t now = sys.platform.now_us(); now < deadline && !sys.quit_requested; now = sys.platform.now_us()) {
        sys.platform.wait_message_us(deadline - now);
        drop_window_messages(sys);
    }
    Recorder& r = *sys.recorder;
    while (!sys.quit_requested) {
        const RecordOp op = r.playback->peek();
        if (op == RecordOp::DelayEnd) {
            r.playback->next();
            return;
        }
        if (op != RecordOp::Message) r.playback_over = true;
        MessageKind kind = MessageKind::Other;
        pump_one(sys, kind, true);
    }
    // A recorded quit ended the delay too: its end mark follows the quit.
    if (!r.playback_over && r.playback->peek() == RecordOp::DelayEnd) r.playback->next();
}

// Sleeps to the deadline, handling every message meanwhile; a quit ends it at once.
void wait_out_delay(Machine& sys, uint64_t deadline) {
    for (;;) {
        drain_messages(sys);
        if (sys.quit_requested) return;
        const uint64_t now = sys.platform.now_us();
        if (now >= deadline) return;
        // Nothing can have come when the wait ran out: the frame's own pump takes what
        // arrives from now on, and the delay saves a look at the queue.
        if (!sys.platform.wait_message_us(deadline - now) && sys.platform.now_us() >= deadline) return;
    }
}

}  // namespace

bool key_down(Machine& sys, GameKey key) {
    Recorder* r = sys.recorder;
    if (r == nullptr) return sys.platform.key_down(key);
    if (r->replaying()) return r->playback_over ? false : r->playback->key(key);
    const bool down = sys.platform.key_down(key);
    r->each_writer([&](RecordWriter& w) { w.key_read(key, down); });
    return down;
}

uint64_t clock_ms(Machine& sys) {
    Recorder* r = sys.recorder;
    if (r == nullptr) return sys.platform.now_ms();
    RecordEvent e;
    if (r->replaying()) return r->take(RecordOp::Time, e) ? e.time_ms : 0;
    const uint64_t now = sys.platform.now_ms();
    r->each_writer([&](RecordWriter& w) { w.time_read(now); });
    return now;
}

bool pump_message(Machine& sys) {
    MessageKind kind = MessageKind::Other;
    return pump_one(sys, kind) == Pumped::Quit;
}

void pump_or_quit(Machine& sys) {
    if (pump_message(sys)) throw QuitRequested{};
}

void pump_or_idle(Machine& sys) {
    if (end_input_frame(sys.input)) return;
    MessageKind kind = MessageKind::Other;
    const Pumped pumped = pump_one(sys, kind);
    if (pumped == Pumped::Quit) throw QuitRequested{};
    if (pumped == Pumped::Nothing) sys.platform.wait_message(50);
}

void delay_ms(Machine& sys, uint32_t ms) {
    const uint64_t deadline = next_frame_deadline(sys.pacer, sys.platform.now_us(), uint64_t{ms} * 1000);
    Recorder* r = sys.recorder;
    if (r != nullptr && r->replaying()) return replayed_delay(sys, deadline);
    wait_out_delay(sys, deadline);
    if (r != nullptr) r->each_writer([](RecordWriter& w) { w.delay_ended(); });
}

void forget_unseen_input(Machine& sys) { end_input_frame(sys.input); }

void calibrate_delay(Machine& sys) {
    sys.platform.start_timer(CALIBRATION_TIMER_ID, 1000);
    sys.input.timer_fired = 0;
    uint32_t count = 0;
    MessageKind kind = MessageKind::Other;
    // A quit taken here is remembered: the menu's first pump acts on it.
    while (sys.input.timer_fired == 0 && !sys.quit_requested) {
        ++count;
        if (pump_one(sys, kind) == Pumped::Nothing) sys.platform.wait_message(100);
    }
    sys.pump_loops_per_second = count;
}

namespace {

template <class Pred>
void wait_while(Machine& sys, Pred keep_waiting) {
    while (keep_waiting()) pump_or_idle(sys);
}

}  // namespace

void wait_while_char_typed(Machine& sys) {
    wait_while(sys, [&] { return sys.input.char_typed != 0; });
}

void wait_until_char_typed(Machine& sys) {
    wait_while(sys, [&] { return sys.input.char_typed == 0; });
}

void wait_all_released(Machine& sys) {
    wait_while(sys, [&] { return sys.input.char_typed != 0 || sys.input.mouse_buttons != 0; });
}

void wait_press(Machine& sys) {
    wait_while(sys, [&] { return sys.input.char_typed == 0 && sys.input.mouse_buttons == 0; });
}

void wait_key_or_click(Machine& sys) {
    wait_all_released(sys);
    wait_press(sys);
    wait_all_released(sys);
}

void wait_buttons_released(Machine& sys) {
    wait_while(sys, [&] { return sys.input.mouse_buttons != 0; });
}

}  // namespace qvar
