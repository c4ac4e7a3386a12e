// Headless backend: a message queue, a virtual clock and a captured frame.
#include "platform/headless_platform.h"

#include <algorithm>
#include <cstring>

namespace qvar {

bool HeadlessPlatform::open_display(std::string&) {
    open_ = true;
    return true;
}

void HeadlessPlatform::set_palette_entry(uint8_t index, Rgb colour) { palette_[index] = colour; }

void HeadlessPlatform::present(const uint8_t* pixels) {
    std::memcpy(last_frame_.data(), pixels, last_frame_.size());
    ++frames_;
    if (frame_hook_) frame_hook_(*this, frames_);
}

void HeadlessPlatform::release_display() {
    if (open_) ++releases_;
    open_ = false;
}

void HeadlessPlatform::at_time(uint64_t ms, std::function<void(HeadlessPlatform&)> action) {
    scheduled_.push_back({ms, order_++, std::move(action)});
}

uint64_t HeadlessPlatform::next_event_time() const {
    uint64_t next = UINT64_MAX;
    for (const Scheduled& s : scheduled_) next = std::min(next, s.at);
    if (timer_period_ != 0) next = std::min(next, next_tick_);
    return next;
}

void HeadlessPlatform::run_due_actions() {
    for (;;) {
        auto due = scheduled_.end();
        for (auto it = scheduled_.begin(); it != scheduled_.end(); ++it) {
            if (it->at > now_ms_) continue;
            if (due == scheduled_.end() || it->at < due->at || (it->at == due->at && it->order < due->order))
                due = it;
        }
        if (due == scheduled_.end()) break;
        auto action = std::move(due->action);
        scheduled_.erase(due);
        action(*this);
    }
    while (timer_period_ != 0 && next_tick_ <= now_ms_) {
        Message m;
        m.kind = MessageKind::Timer;
        m.timer_id = timer_id_;
        queue_.push_back(m);
        next_tick_ += timer_period_;
    }
}

bool HeadlessPlatform::poll_message(Message& out) {
    run_due_actions();
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    idle_since_ = now_ms_;
    return true;
}

bool HeadlessPlatform::has_pending_input() const { return !queue_.empty() || !scheduled_.empty(); }

void HeadlessPlatform::wait_message(uint32_t timeout_ms) {
    if (!queue_.empty()) return;
    uint64_t target = now_ms_ + timeout_ms;
    uint64_t next = next_event_time();
    if (next > now_ms_ && next < target) target = next;
    if (next <= now_ms_) target = now_ms_;
    now_ms_ = target;
    if (idle_quit_ms_ != 0 && scheduled_.empty() && now_ms_ - idle_since_ >= idle_quit_ms_) {
        request_quit();
        idle_since_ = now_ms_;
    }
}

void HeadlessPlatform::start_timer(int32_t id, uint32_t period_ms) {
    timer_id_ = id;
    timer_period_ = period_ms;
    next_tick_ = now_ms_ + period_ms;
}

bool HeadlessPlatform::key_down(GameKey key) { return keys_[static_cast<size_t>(key)]; }

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

void HeadlessPlatform::request_quit() {
    Message m;
    m.kind = MessageKind::Quit;
    post(m);
}

}  // namespace qvar
