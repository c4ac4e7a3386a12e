// Headless backend: a message queue, a virtual clock, scheduled input and a captured frame.
#include "platform/headless_platform.h"

#include <algorithm>
#include <cstring>

namespace qvar {

namespace {

// A real pump call costs about a microsecond; a loop that does nothing but pump sees a
// millisecond pass every thousand empty calls.
constexpr uint32_t EMPTY_POLLS_PER_MS = 1000;

}  // namespace

bool HeadlessPlatform::open_display(std::string&) {
    open_ = true;
    palette_ = initial_palette();
    return true;
}

void HeadlessPlatform::set_palette_entry(uint8_t index, Rgb colour) { palette_[index] = colour; }

void HeadlessPlatform::present(const uint8_t* pixels) {
    tapped_.fill(false);
    std::memcpy(last_frame_.data(), pixels, last_frame_.size());
    ++frames_;
    empty_polls_ = 0;
    for (FrameHook& observer : observers_) observer(*this, frames_);
    if (frame_hook_) frame_hook_(*this, frames_);
    run_due_actions();
    last_present_ms_ = now_ms_;
    advance_clock(present_cost_ms_);
}

void HeadlessPlatform::release_display() {
    if (open_) ++releases_;
    open_ = false;
}

void HeadlessPlatform::post(const Message& m) {
    queue_.push_back(m);
    last_input_ms_ = now_ms_;
}

// std::push_heap keeps the greatest first: "later" puts the earliest entry on top.
bool HeadlessPlatform::later(const Scheduled& a, const Scheduled& b) {
    return a.at != b.at ? a.at > b.at : a.order > b.order;
}

bool HeadlessPlatform::ranked_after(const Scheduled& a, const Scheduled& b) {
    return a.rank != b.rank ? a.rank > b.rank : a.order > b.order;
}

void HeadlessPlatform::at_time(uint64_t ms, Action action, uint64_t rank) {
    timed_.push_back({ms, rank, order_++, std::move(action)});
    std::push_heap(timed_.begin(), timed_.end(), later);
}

void HeadlessPlatform::at_frame(uint64_t frame, Action action, uint64_t rank) {
    framed_.push_back({frame, rank, order_++, std::move(action)});
    std::push_heap(framed_.begin(), framed_.end(), later);
}

uint64_t HeadlessPlatform::next_event_time() const {
    uint64_t next = timed_.empty() ? UINT64_MAX : timed_.front().at;
    if (timer_period_ != 0) next = std::min(next, next_tick_);
    return next;
}

// Moves every waiting entry whose time (or frame) has been reached onto the ready heap, in
// time order; `order` is renumbered so that equal ranks keep that order.
void HeadlessPlatform::move_due(std::vector<Scheduled>& waiting, uint64_t reached) {
    while (!waiting.empty() && waiting.front().at <= reached) {
        std::pop_heap(waiting.begin(), waiting.end(), later);
        Scheduled s = std::move(waiting.back());
        waiting.pop_back();
        s.order = order_++;
        ready_.push_back(std::move(s));
        std::push_heap(ready_.begin(), ready_.end(), ranked_after);
    }
}

bool HeadlessPlatform::any_due() const {
    return (!timed_.empty() && timed_.front().at <= now_ms_) || (!framed_.empty() && framed_.front().at <= frames_);
}

// Runs every due action, lowest rank first. Each is taken out before it runs, so an action
// may schedule more; those that are due at once join the ones still waiting to run.
void HeadlessPlatform::run_due_actions() {
    for (;;) {
        move_due(timed_, now_ms_);
        move_due(framed_, frames_);
        if (ready_.empty()) break;
        std::pop_heap(ready_.begin(), ready_.end(), ranked_after);
        Action action = std::move(ready_.back().action);
        ready_.pop_back();
        last_input_ms_ = now_ms_;
        action(*this);
    }
    while (timer_period_ != 0 && next_tick_ <= now_ms_) {
        Message m;
        m.kind = MessageKind::Timer;
        m.timer_id = timer_id_;
        queue_.push_back(m);  // a tick is not input: it does not keep a run alive
        next_tick_ += timer_period_;
    }
}

void HeadlessPlatform::advance_clock(uint64_t ms) {
    now_ms_ += ms;
    check_idle();
}

void HeadlessPlatform::check_idle() {
    if (idle_quit_ms_ == 0 || !queue_.empty() || !timed_.empty()) return;
    uint64_t since = last_input_ms_;
    // Frame actions still to come keep the run alive while frames are being presented.
    if (!framed_.empty()) since = std::max(since, last_present_ms_);
    if (now_ms_ - since >= idle_quit_ms_) request_quit();
}

bool HeadlessPlatform::poll_message(Message& out) {
    run_due_actions();
    if (queue_.empty()) {
        if (++empty_polls_ >= EMPTY_POLLS_PER_MS) {
            empty_polls_ = 0;
            advance_clock(1);
        }
        return false;
    }
    out = queue_.front();
    queue_.pop_front();
    return true;
}

bool HeadlessPlatform::has_pending_input() const { return !queue_.empty() || !timed_.empty() || !framed_.empty(); }

void HeadlessPlatform::wait_message(uint32_t timeout_ms) {
    empty_polls_ = 0;
    if (!queue_.empty() || any_due()) return;
    const uint64_t next = next_event_time();
    if (next <= now_ms_) return;
    const uint64_t target = std::min(now_ms_ + timeout_ms, next);
    advance_clock(target - now_ms_);
}

bool HeadlessPlatform::wait_message_us(uint64_t timeout_us) {
    const uint64_t ms = (timeout_us + 999) / 1000;
    wait_message(ms > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(ms));
    return true;
}

void HeadlessPlatform::start_timer(int32_t id, uint32_t period_ms) {
    timer_id_ = id;
    timer_period_ = period_ms;
    next_tick_ = now_ms_ + period_ms;
}

void HeadlessPlatform::set_key(GameKey key, bool down) {
    keys_[static_cast<size_t>(key)] = down;
    if (down) tapped_[static_cast<size_t>(key)] = true;
}

bool HeadlessPlatform::key_down(GameKey key) {
    const auto k = static_cast<size_t>(key);
    return keys_[k] || tapped_[k];
}

void HeadlessPlatform::lose_focus() {
    if (focused_ && pause_on_focus_loss_ && mode_ == InputMode::Game) tap_key(GameKey::P);
    focused_ = false;
    post(Message{});  // the focus message itself
}

void HeadlessPlatform::gain_focus() {
    focused_ = true;
    post(Message{});
}

void HeadlessPlatform::message_box(const std::string& caption, const std::string& text) {
    boxes_.push_back(caption + ": " + text);
}

namespace {
int key_character(GameKey key) {
    switch (key) {
        case GameKey::Space: return ' ';
        case GameKey::P: return 'p';
        case GameKey::Q: return 'q';
        default: return -1;
    }
}
}  // namespace

void HeadlessPlatform::press_key(GameKey key) {
    set_key(key, true);
    post(Message{});
    int c = key_character(key);
    if (c >= 0) {
        Message m;
        m.kind = MessageKind::Character;
        m.character = static_cast<uint8_t>(c);
        post(m);
    }
}

void HeadlessPlatform::release_key(GameKey key) {
    set_key(key, false);
    post(Message{});
}

void HeadlessPlatform::type_char(uint8_t c) {
    post(Message{});
    Message m;
    m.kind = MessageKind::Character;
    m.character = c;
    post(m);
    post(Message{});
}

void HeadlessPlatform::move_mouse(uint16_t x, uint16_t y) {
    Message m;
    m.kind = MessageKind::MouseMove;
    m.x = x;
    m.y = y;
    post(m);
}

void HeadlessPlatform::set_buttons(uint32_t flags) {
    Message m;
    m.kind = MessageKind::MouseButton;
    m.button_flags = flags;
    post(m);
}

void HeadlessPlatform::post_button(uint32_t button, bool down) {
    buttons_ = down ? (buttons_ | button) : (buttons_ & ~button);
    uint32_t flags = buttons_;
    if (keys_[static_cast<size_t>(GameKey::Control)]) flags |= MOUSE_CONTROL;
    set_buttons(flags);
}

void HeadlessPlatform::button_down(uint32_t button) { post_button(button & (MOUSE_LEFT | MOUSE_RIGHT), true); }

void HeadlessPlatform::button_up(uint32_t button) { post_button(button & (MOUSE_LEFT | MOUSE_RIGHT), false); }

void HeadlessPlatform::request_quit() {
    Message m;
    m.kind = MessageKind::Quit;
    post(m);
}

}  // namespace qvar
