// The headless backend: no display, virtual time, input from scheduled events.
// Delays and idle waits advance the virtual clock, so scripted runs take no real time
// and repeat byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qvar {

class HeadlessPlatform : public Platform {
public:
    // Called after every presented frame with the 1-based frame number; tests and the input
    // script use it to act at a given frame.
    using FrameHook = std::function<void(HeadlessPlatform&, uint64_t frame)>;

    bool open_display(std::string& error) override;
    void set_palette_entry(uint8_t index, Rgb colour) override;
    void present(const uint8_t* pixels) override;
    void release_display() override;
    bool poll_message(Message& out) override;
    void wait_message(uint32_t timeout_ms) override;
    uint64_t now_ms() override { return now_ms_; }
    void start_timer(int32_t id, uint32_t period_ms) override;
    bool key_down(GameKey key) override;
    void message_box(const std::string& caption, const std::string& text) override;

    // --- driving input ---
    // Queues a message now.
    void post(const Message& m) { queue_.push_back(m); }
    // Schedules an action at a virtual time; actions run in time order, ties in insertion order.
    void at_time(uint64_t ms, std::function<void(HeadlessPlatform&)> action);
    void set_key(GameKey key, bool down) { keys_[static_cast<size_t>(key)] = down; }
    // Posts the key's press message, sets it down, and posts its character if it has one.
    void press_key(GameKey key);
    void release_key(GameKey key);
    // Posts a key-down message, the character and a key-up message.
    void type_char(uint8_t c);
    void move_mouse(uint16_t x, uint16_t y);
    void set_buttons(uint32_t flags);
    void request_quit();
    void set_frame_hook(FrameHook hook) { frame_hook_ = std::move(hook); }
    // After this much virtual time with nothing scheduled and nothing queued, a quit is
    // posted so that a finished script never hangs a run. 0 disables.
    void set_idle_quit_ms(uint64_t ms) { idle_quit_ms_ = ms; }
    bool has_pending_input() const;

    // --- observing ---
    uint64_t frames_presented() const { return frames_; }
    const std::array<uint8_t, 64000>& last_frame() const { return last_frame_; }
    const Palette& palette() const { return palette_; }
    bool display_open() const { return open_; }
    int display_releases() const { return releases_; }
    const std::vector<std::string>& message_boxes() const { return boxes_; }

private:
    struct Scheduled {
        uint64_t at = 0;
        uint64_t order = 0;
        std::function<void(HeadlessPlatform&)> action;
    };
    void run_due_actions();
    uint64_t next_event_time() const;

    uint64_t now_ms_ = 0;
    uint64_t frames_ = 0;
    uint64_t order_ = 0;
    uint64_t idle_since_ = 0;
    uint64_t idle_quit_ms_ = 0;
    bool open_ = false;
    int releases_ = 0;
    std::deque<Message> queue_;
    std::vector<Scheduled> scheduled_;
    std::array<bool, GAME_KEY_COUNT> keys_{};
    std::array<uint8_t, 64000> last_frame_{};
    Palette palette_{};
    FrameHook frame_hook_;
    int32_t timer_id_ = 0;
    uint32_t timer_period_ = 0;
    uint64_t next_tick_ = 0;
    std::vector<std::string> boxes_;
};

}  // namespace qvar
