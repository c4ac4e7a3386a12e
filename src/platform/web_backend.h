// The web backend's class, shared by its display and timing half (web_platform.cpp) and its
// event half (web_events.cpp).
#pragma once

#include <array>
#include <cstdint>

#include "gfx/frame_buffer.h"
#include "platform/frame_stats.h"
#include "platform/platform.h"
#include "platform/tick_timer.h"

namespace qvar {

class WebPlatform : public Platform {
public:
    WebPlatform();
    // Stops taking events, which would otherwise reach a platform that is gone.
    ~WebPlatform() override;
    WebPlatform(const WebPlatform&) = delete;
    WebPlatform& operator=(const WebPlatform&) = delete;

    // Registers the page's event handlers and finds the canvas.
    bool open_display(std::string& error) override;
    void set_palette_entry(uint8_t index, Rgb colour) override;
    // Expands the frame through the palette into RGBA and puts it on the canvas.
    void present(const uint8_t* pixels) override;
    // Stops taking events; the canvas keeps the last frame.
    void release_display() override;
    bool poll_message(Message& out) override;
    void wait_message(uint32_t timeout_ms) override;
    // Yields to the browser until an event arrives or the time is up; the browser's timers
    // count whole milliseconds, so the wait is rounded up to one.
    bool wait_message_us(uint64_t timeout_us) override;
    uint64_t now_ms() override { return now_us() / 1000; }
    uint64_t now_us() override;
    void start_timer(int32_t id, uint32_t period_ms) override;
    bool key_down(GameKey key) override;
    // The page has no gamepad support: what the screens wait for changes nothing here.
    void set_input_mode(InputMode) override {}
    void message_box(const std::string& caption, const std::string& text) override;

    // --- called by the event handlers (web_events.cpp) ---
    // Queues a message and ends a wait in progress. A full queue drops the message.
    void post(const Message& m);
    void set_key(GameKey key, bool down);
    void release_all_keys();
    // The frame timings for the page's report: the game's own work (from the end of one
    // frame's delay to its present), the present, and the time between presents.
    const TimeHistogram& work() const { return work_; }
    const TimeHistogram& presents() const { return presents_; }
    const TimeHistogram& intervals() const { return intervals_; }
    void restart_timings();

    uint32_t buttons = 0;           // mouse buttons held, as MOUSE_LEFT | MOUSE_RIGHT
    double last_left_press_ms = -1e9;
    int left_presses = 0;           // presses of the left button in a row of quick ones
    bool control_held = false;
    bool shift_held = false;

private:
    void register_events(bool on);

    static constexpr size_t QUEUE_SIZE = 256;
    std::array<Message, QUEUE_SIZE> queue_{};
    size_t queue_head_ = 0;
    size_t queue_count_ = 0;
    uint16_t keys_held_ = 0;
    uint16_t keys_tapped_ = 0;
    bool open_ = false;
    TickTimer timer_;
    uint64_t frames_ = 0;
    uint64_t woke_us_ = 0;          // when the last wait ended: the frame's work starts
    uint64_t last_present_us_ = 0;
    std::array<uint32_t, 256> lut_{};
    alignas(16) std::array<uint32_t, FRAME_BYTES> rgba_{};
    TimeHistogram work_;
    TimeHistogram presents_;
    TimeHistogram intervals_;
};

}  // namespace qvar
