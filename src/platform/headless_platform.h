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
    using Action = std::function<void(HeadlessPlatform&)>;

    // open_display always succeeds and loads the display's first palette (initial_palette).
    bool open_display(std::string& error) override;
    void set_palette_entry(uint8_t index, Rgb colour) override;
    // Ends the frame for key_down, copies the frame, counts it, calls the observers, the frame
    // hook and the due actions (see at_time), then advances the clock by the present cost.
    void present(const uint8_t* pixels) override;
    void release_display() override;
    // Runs due actions first. A long run of empty polls with nothing else moving the clock
    // advances it by 1 ms per 1000 polls, so a loop that only pumps still sees time pass.
    bool poll_message(Message& out) override;
    // Advances the virtual clock to the next scheduled time or timer tick, at most timeout_ms;
    // returns at once when a message is queued or an action is due.
    void wait_message(uint32_t timeout_ms) override;
    // The virtual clock counts whole milliseconds: a wait is rounded up to one. Always
    // returns true: an action due at the wait's end is run by the caller's next poll.
    bool wait_message_us(uint64_t timeout_us) override;
    uint64_t now_ms() override { return now_ms_; }
    uint64_t now_us() override { return now_ms_ * 1000; }
    void start_timer(int32_t id, uint32_t period_ms) override;
    // True while the key is set down, and from a tap (tap_key) until the next present.
    bool key_down(GameKey key) override;
    void set_input_mode(InputMode mode) override { mode_ = mode; }
    void message_box(const std::string& caption, const std::string& text) override;

    // --- driving input ---
    // Queues a message now.
    void post(const Message& m);
    // Schedules an action at a virtual time. Actions run at the first poll or present that
    // finds them due. Those due together run by `rank`, lowest first (an input script ranks
    // its events by line); among equal ranks, timed actions before frame actions, each in
    // time or frame order, then in the order they were scheduled. Both cost O(log n).
    void at_time(uint64_t ms, Action action, uint64_t rank = 0);
    // Schedules an action right after frame `frame` (1-based) is presented; a frame already
    // presented runs it at the next poll.
    void at_frame(uint64_t frame, Action action, uint64_t rank = 0);
    // Sets a game key's state at once; a key set down stays down for key_down until the next
    // present even when it is set up again before.
    void set_key(GameKey key, bool down);
    // Makes the key read as down until the next present, as a press too short to be held.
    void tap_key(GameKey key) { tapped_[static_cast<size_t>(key)] = true; }
    // The window loses or regains the focus. Losing it in a game, with the setting on, taps P
    // so that the game pauses exactly as if P had been pressed; regaining it does nothing more.
    void lose_focus();
    void gain_focus();
    void set_pause_on_focus_loss(bool on) { pause_on_focus_loss_ = on; }
    // Posts the key's press message, sets it down, and posts its character if it has one.
    void press_key(GameKey key);
    void release_key(GameKey key);
    // Posts a key-down message, the character and a key-up message.
    void type_char(uint8_t c);
    void move_mouse(uint16_t x, uint16_t y);
    // Posts a button message carrying exactly `flags`.
    void set_buttons(uint32_t flags);
    // Presses or releases MOUSE_LEFT or MOUSE_RIGHT and posts a button message with the flag
    // word after it: the buttons held, plus MOUSE_CONTROL while Ctrl is down.
    void button_down(uint32_t button);
    void button_up(uint32_t button);
    void request_quit();
    void set_frame_hook(FrameHook hook) { frame_hook_ = std::move(hook); }
    // Observers run on every presented frame before the frame hook (frame capture uses one).
    void add_frame_observer(FrameHook observer) { observers_.push_back(std::move(observer)); }
    // Virtual milliseconds each present costs (0 by default). Scripted runs use 1 so that
    // loops which present without waiting still move the clock.
    void set_present_cost_ms(uint32_t ms) { present_cost_ms_ = ms; }
    // After this much virtual time without input, with nothing queued, no timed action
    // pending and (while frame actions are pending) no frame presented, a quit is posted,
    // so a finished script never hangs a run. 0 disables.
    void set_idle_quit_ms(uint64_t ms) { idle_quit_ms_ = ms; }
    bool has_pending_input() const;

    // --- observing ---
    uint64_t frames_presented() const { return frames_; }
    const std::array<uint8_t, 64000>& last_frame() const { return last_frame_; }
    const Palette& palette() const { return palette_; }
    bool display_open() const { return open_; }
    int display_releases() const { return releases_; }
    const std::vector<std::string>& message_boxes() const { return boxes_; }
    uint32_t buttons_held() const { return buttons_; }
    InputMode input_mode() const { return mode_; }
    bool key_held(GameKey key) const { return keys_[static_cast<size_t>(key)]; }  // no tap latch

private:
    struct Scheduled {
        uint64_t at = 0;  // virtual ms, or frame number for frame actions
        uint64_t rank = 0;
        uint64_t order = 0;  // when scheduled; when due, for the ready heap
        Action action;
    };
    // Min-heaps: waiting entries by (at, order), due ones by (rank, order).
    static bool later(const Scheduled& a, const Scheduled& b);
    static bool ranked_after(const Scheduled& a, const Scheduled& b);
    void move_due(std::vector<Scheduled>& waiting, uint64_t reached);
    bool any_due() const;
    void run_due_actions();
    uint64_t next_event_time() const;
    void advance_clock(uint64_t ms);
    void check_idle();
    void post_button(uint32_t button, bool down);

    uint64_t now_ms_ = 0;
    uint64_t frames_ = 0;
    uint64_t order_ = 0;
    uint64_t last_input_ms_ = 0;
    uint64_t last_present_ms_ = 0;
    uint64_t idle_quit_ms_ = 0;
    uint32_t present_cost_ms_ = 0;
    uint32_t empty_polls_ = 0;
    uint32_t buttons_ = 0;
    bool open_ = false;
    int releases_ = 0;
    std::deque<Message> queue_;
    std::vector<Scheduled> timed_;
    std::vector<Scheduled> framed_;
    std::vector<Scheduled> ready_;
    std::array<bool, GAME_KEY_COUNT> keys_{};
    std::array<bool, GAME_KEY_COUNT> tapped_{};  // went down since the last present
    InputMode mode_ = InputMode::Pointer;
    bool focused_ = true;
    bool pause_on_focus_loss_ = true;
    std::array<uint8_t, 64000> last_frame_{};
    Palette palette_{};
    FrameHook frame_hook_;
    std::vector<FrameHook> observers_;
    int32_t timer_id_ = 0;
    uint32_t timer_period_ = 0;
    uint64_t next_tick_ = 0;
    std::vector<std::string> boxes_;
};

}  // namespace qvar
