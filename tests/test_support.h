// Shared test fixtures: temporary folders, small valid data files, a headless System.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "model/system.h"

namespace qvar::test {

// A fresh folder under the system's temp folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Writes lets.dat, nums.dat, qvar.dat, boni.dat and c2.dat with the right layouts and
// simple, recognisable pictures (not the game's art): tests do not depend on the artwork.
void write_test_data_files(const std::string& dir);

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_bytes(const std::string& path);
void write_text(const std::string& path, const std::string& text);
std::string read_text(const std::string& path);

// Runs the built game with `args` (a shell command line's words) and collects what it says on
// stdout and stderr; the status is -1 when it did not exit normally.
struct RunResult {
    int status = -1;
    std::string output;
};
RunResult run_built_game(const std::string& args);

// A platform that passes every call on to `inner`, calls `after_present` after each frame it
// shows, and keeps the input mode the screens last set.
class WatchedPlatform : public Platform {
public:
    explicit WatchedPlatform(Platform& inner) : inner_(inner) {}
    std::function<void(Platform& inner, const uint8_t* pixels)> after_present = [](Platform&, const uint8_t*) {};
    InputMode mode = InputMode::Pointer;
    bool open_display(std::string& error) override { return inner_.open_display(error); }
    void set_palette_entry(uint8_t index, Rgb colour) override { inner_.set_palette_entry(index, colour); }
    void present(const uint8_t* pixels) override { inner_.present(pixels), after_present(inner_, pixels); }
    void release_display() override { inner_.release_display(); }
    bool poll_message(Message& out) override { return inner_.poll_message(out); }
    void wait_message(uint32_t timeout_ms) override { inner_.wait_message(timeout_ms); }
    bool wait_message_us(uint64_t timeout_us) override { return inner_.wait_message_us(timeout_us); }
    uint64_t now_ms() override { return inner_.now_ms(); }
    uint64_t now_us() override { return inner_.now_us(); }
    void start_timer(int32_t id, uint32_t period_ms) override { inner_.start_timer(id, period_ms); }
    bool key_down(GameKey key) override { return inner_.key_down(key); }
    void set_input_mode(InputMode m) override { mode = m, inner_.set_input_mode(m); }
    void message_box(const std::string& caption, const std::string& text) override { inner_.message_box(caption, text); }

private:
    Platform& inner_;
};

// A headless System with its display open, the palette at gamma 1, the font and both digit
// sets loaded from test data, and empty user folder.
struct TestRig {
    TestRig();
    TempDir data_dir;
    TempDir user_dir;
    HeadlessPlatform platform;
    std::unique_ptr<System> sys;
};

}  // namespace qvar::test

// Helpers of the SDL backend's tests.
#include "platform/sdl_platform.h"

namespace qvar::test {

// An SDL platform on the dummy video driver with its display open, or null when SDL cannot
// open even that.
std::unique_ptr<Platform> open_sdl_dummy(const SdlOptions& options);

// Takes every waiting message and drops it.
void drop_messages(Platform& p);

}  // namespace qvar::test
