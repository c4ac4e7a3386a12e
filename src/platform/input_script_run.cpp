// Running input scripts: each event becomes timed steps on the headless platform, and each
// relative event is scheduled when the one above it finishes.
#include <memory>

#include "platform/input_script.h"

namespace qvar {

namespace {

enum class StepKind : uint8_t { PressKey, ReleaseKey, KeyDownChar, KeyUp, Move, ButtonDown, ButtonUp, FocusLost, FocusGained, Quit };

struct Step {
    uint32_t offset_ms = 0;
    StepKind kind = StepKind::Quit;
    GameKey key = GameKey::Space;
    uint32_t button = 0;
    uint16_t x = 0, y = 0;
    uint8_t character = 0;
};

void apply(HeadlessPlatform& p, const Step& s) {
    switch (s.kind) {
        case StepKind::PressKey: p.press_key(s.key); break;
        case StepKind::ReleaseKey: p.release_key(s.key); break;
        case StepKind::KeyDownChar: {
            p.post(Message{});  // the key going down, then the character it types
            Message m;
            m.kind = MessageKind::Character;
            m.character = s.character;
            p.post(m);
            break;
        }
        case StepKind::KeyUp: p.post(Message{}); break;
        case StepKind::Move: p.move_mouse(s.x, s.y); break;
        case StepKind::ButtonDown: p.button_down(s.button); break;
        case StepKind::ButtonUp: p.button_up(s.button); break;
        case StepKind::FocusLost: p.lose_focus(); break;
        case StepKind::FocusGained: p.gain_focus(); break;
        case StepKind::Quit: p.request_quit(); break;
    }
}

void add_typed(std::vector<Step>& steps, uint32_t at, char c) {
    Step down;
    down.offset_ms = at;
    down.kind = StepKind::KeyDownChar;
    down.character = static_cast<uint8_t>(c);
    steps.push_back(down);
    Step up;
    up.offset_ms = at + TYPE_HOLD_MS;
    up.kind = StepKind::KeyUp;
    steps.push_back(up);
}

// The steps of one event, in time order; offsets are ms after the event starts.
std::vector<Step> steps_of(const ScriptEvent& ev) {
    std::vector<Step> steps;
    Step s;
    s.key = ev.key;
    s.button = ev.button;
    s.x = ev.x;
    s.y = ev.y;
    switch (ev.op) {
        case ScriptOp::Press: s.kind = StepKind::PressKey; steps.push_back(s); break;
        case ScriptOp::Release: s.kind = StepKind::ReleaseKey; steps.push_back(s); break;
        case ScriptOp::Type: add_typed(steps, 0, ev.text.empty() ? ' ' : ev.text[0]); break;
        case ScriptOp::Text:
            for (size_t i = 0; i < ev.text.size(); ++i) add_typed(steps, static_cast<uint32_t>(i) * TEXT_GAP_MS, ev.text[i]);
            break;
        case ScriptOp::Move: s.kind = StepKind::Move; steps.push_back(s); break;
        case ScriptOp::ButtonDown: s.kind = StepKind::ButtonDown; steps.push_back(s); break;
        case ScriptOp::ButtonUp: s.kind = StepKind::ButtonUp; steps.push_back(s); break;
        case ScriptOp::Click:
            if (ev.has_position) {
                s.kind = StepKind::Move;
                steps.push_back(s);
            }
            s.kind = StepKind::ButtonDown;
            steps.push_back(s);
            s.kind = StepKind::ButtonUp;
            s.offset_ms = CLICK_HOLD_MS;
            steps.push_back(s);
            break;
        case ScriptOp::FocusLost: s.kind = StepKind::FocusLost; steps.push_back(s); break;
        case ScriptOp::FocusGained: s.kind = StepKind::FocusGained; steps.push_back(s); break;
        case ScriptOp::Quit: s.kind = StepKind::Quit; steps.push_back(s); break;
    }
    return steps;
}

// Actions due at the same pump run in line order: an event's rank is its place in the file,
// and its later steps rank after it in step order (a text has at most 2000 steps).
constexpr int STEP_BITS = 12;
uint64_t rank_of(size_t event, size_t step) { return (static_cast<uint64_t>(event + 1) << STEP_BITS) | step; }

struct Runner : std::enable_shared_from_this<Runner> {
    std::vector<ScriptEvent> events;
    std::vector<std::vector<Step>> steps;

    void schedule(HeadlessPlatform& p, size_t i);
    void start(HeadlessPlatform& p, size_t i);
    void finished(HeadlessPlatform& p, size_t i);
};

void Runner::schedule(HeadlessPlatform& p, size_t i) {
    const ScriptEvent& ev = events[i];
    auto self = shared_from_this();
    auto run = [self, i](HeadlessPlatform& q) { self->start(q, i); };
    const uint64_t rank = rank_of(i, 0);
    switch (ev.when) {
        case ScriptWhen::AtTime: p.at_time(ev.at, run, rank); break;
        case ScriptWhen::AfterTime: p.at_time(p.now_ms() + ev.at, run, rank); break;
        case ScriptWhen::AtFrame: p.at_frame(ev.at, run, rank); break;
        case ScriptWhen::AfterFrames: p.at_frame(p.frames_presented() + ev.at, run, rank); break;
    }
}

void Runner::start(HeadlessPlatform& p, size_t i) {
    const std::vector<Step>& list = steps[i];
    const uint64_t t0 = p.now_ms();
    for (size_t k = 0; k < list.size(); ++k) {
        const bool last = k + 1 == list.size();
        if (list[k].offset_ms == 0) {
            apply(p, list[k]);
            if (last) finished(p, i);
            continue;
        }
        auto self = shared_from_this();
        p.at_time(
            t0 + list[k].offset_ms,
            [self, i, k, last](HeadlessPlatform& q) {
                apply(q, self->steps[i][k]);
                if (last) self->finished(q, i);
            },
            rank_of(i, k));
    }
}

void Runner::finished(HeadlessPlatform& p, size_t i) {
    const size_t next = i + 1;
    if (next >= events.size()) return;
    const ScriptWhen w = events[next].when;
    if (w == ScriptWhen::AfterTime || w == ScriptWhen::AfterFrames) schedule(p, next);
}

}  // namespace

void install_input_script(HeadlessPlatform& platform, const InputScript& script) {
    auto runner = std::make_shared<Runner>();
    runner->events = script.events;
    for (const ScriptEvent& ev : script.events) runner->steps.push_back(steps_of(ev));
    for (size_t i = 0; i < runner->events.size(); ++i) {
        const ScriptWhen w = runner->events[i].when;
        const bool absolute = w == ScriptWhen::AtTime || w == ScriptWhen::AtFrame;
        if (absolute || i == 0) runner->schedule(platform, i);  // a leading relative event counts from the start
    }
}

void prepare_scripted_run(HeadlessPlatform& platform, const InputScript& script) {
    platform.set_present_cost_ms(SCRIPT_PRESENT_COST_MS);
    platform.set_idle_quit_ms(script.idle_quit_ms);
    install_input_script(platform, script);
}

}  // namespace qvar
