// The web backend's display, clock, waits, message box and persistent storage.
#include "platform/web_platform.h"

#include <algorithm>
#include <cstdio>

#include "platform/web_backend.h"
#include "platform/web_browser.h"
#include "util/files.h"

namespace qvar {

namespace {

// The folder mounted on the browser's storage; files written inside it are stored back.
std::string& persistent_folder() {
    static std::string folder;
    return folder;
}

void store_after_write(const std::string& path) {
    const std::string& folder = persistent_folder();
    if (!folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
        path[folder.size()] == '/')
        web::sync_persistent();
}

// Little-endian RGBA with alpha 255, as ImageData wants it.
uint32_t rgba_of(Rgb c) { return 0xFF000000u | (uint32_t{c.b} << 16) | (uint32_t{c.g} << 8) | c.r; }

// The page's platform while it exists, for the frame report; there is only ever one.
WebPlatform*& page_platform() {
    static WebPlatform* platform = nullptr;
    return platform;
}

}  // namespace

std::unique_ptr<Platform> make_web_platform() { return std::make_unique<WebPlatform>(); }

WebPlatform::WebPlatform() { page_platform() = this; }

WebPlatform::~WebPlatform() {
    release_display();
    if (page_platform() == this) page_platform() = nullptr;
}

bool mount_persistent_folder(const std::string& folder) {
    if (!web::mount_persistent(folder.c_str())) {
        std::fprintf(stderr, "qvar: the browser's storage is not available; scores and settings last until the page is closed\n");
        make_dirs(folder);
        return false;
    }
    persistent_folder() = folder;
    set_file_written_hook(store_after_write);
    return true;
}

void show_program_end(int status) { web::program_ended(status); }

bool WebPlatform::open_display(std::string& error) {
    if (!web::open_canvas()) {
        error = "the page has no canvas with id \"screen\"";
        return false;
    }
    const Palette first = initial_palette();
    for (size_t i = 0; i < lut_.size(); ++i) lut_[i] = rgba_of(first[i]);
    register_events(true);
    open_ = true;
    woke_us_ = now_us();
    return true;
}

void WebPlatform::set_palette_entry(uint8_t index, Rgb colour) { lut_[index] = rgba_of(colour); }

void WebPlatform::present(const uint8_t* pixels) {
    const uint64_t start = now_us();
    keys_tapped_ = 0;
    for (size_t i = 0; i < rgba_.size(); ++i) rgba_[i] = lut_[pixels[i]];
    web::show_frame(rgba_.data(), ++frames_);
    const uint64_t end = now_us();
    work_.add(start - std::min(start, woke_us_));
    presents_.add(end - start);
    if (last_present_us_ != 0) intervals_.add(start - last_present_us_);
    last_present_us_ = start;
    woke_us_ = end;  // a loop that presents without a delay starts its next frame here
}

void WebPlatform::release_display() {
    if (open_) register_events(false);
    open_ = false;
}

void WebPlatform::post(const Message& m) {
    if (queue_count_ == QUEUE_SIZE) return;
    queue_[(queue_head_ + queue_count_) % QUEUE_SIZE] = m;
    ++queue_count_;
    web::wake();
}

bool WebPlatform::poll_message(Message& out) {
    if (queue_count_ == 0) return take_tick(timer_, now_ms(), out);  // only when nothing else waits
    out = queue_[queue_head_];
    queue_head_ = (queue_head_ + 1) % QUEUE_SIZE;
    --queue_count_;
    return true;
}

void WebPlatform::wait_message(uint32_t timeout_ms) { wait_message_us(uint64_t{timeout_ms} * 1000); }

bool WebPlatform::wait_message_us(uint64_t timeout_us) {
    if (queue_count_ != 0) return true;
    uint64_t wait_ms = (timeout_us + 999) / 1000;
    wait_ms = std::min(wait_ms, ms_to_next_tick(timer_, now_ms()));
    if (wait_ms != 0) web::sleep_ms(static_cast<double>(wait_ms));
    woke_us_ = now_us();
    return true;
}

uint64_t WebPlatform::now_us() {
    // performance.now() starts near 0 with the page and stays far below the bound.
    const double ms = web::now_ms();
    return ms > 0 && ms < 1e12 ? static_cast<uint64_t>(ms * 1000.0) : 0;
}

void WebPlatform::start_timer(int32_t id, uint32_t period_ms) {
    start_ticks(timer_, id, period_ms, now_ms());
}

bool WebPlatform::key_down(GameKey key) {
    const auto bit = static_cast<uint16_t>(1u << static_cast<unsigned>(key));
    return ((keys_held_ | keys_tapped_) & bit) != 0;
}

void WebPlatform::set_key(GameKey key, bool down) {
    const auto bit = static_cast<uint16_t>(1u << static_cast<unsigned>(key));
    keys_held_ = static_cast<uint16_t>(down ? (keys_held_ | bit) : (keys_held_ & ~bit));
    if (down) keys_tapped_ = static_cast<uint16_t>(keys_tapped_ | bit);
}

void WebPlatform::release_all_keys() {
    if (keys_held_ == 0) return;
    keys_held_ = 0;
    control_held = shift_held = false;
    post(Message{});
}

void WebPlatform::restart_timings() {
    work_ = TimeHistogram();
    presents_ = TimeHistogram();
    intervals_ = TimeHistogram();
    last_present_us_ = 0;
}

void WebPlatform::message_box(const std::string& caption, const std::string& text) {
    web::message_box(caption.c_str(), text.c_str());
}

}  // namespace qvar

// The page's frame report: how many frames were shown and what they cost, in ms. With
// `restart` nonzero the timings start afresh afterwards.
extern "C" const char* qvar_web_frame_report(int restart) {
    static char text[400];
    qvar::WebPlatform* p = qvar::page_platform();
    if (p == nullptr) return "";
    std::snprintf(text, sizeof text,
                  "{\"frames\":%llu,\"work_median\":%.3f,\"work_p99\":%.3f,\"present_median\":%.3f,"
                  "\"present_p99\":%.3f,\"interval_median\":%.3f,\"interval_p1\":%.3f,\"interval_p99\":%.3f}",
                  static_cast<unsigned long long>(p->presents().count()), p->work().percentile_ms(0.5),
                  p->work().percentile_ms(0.99), p->presents().percentile_ms(0.5), p->presents().percentile_ms(0.99),
                  p->intervals().percentile_ms(0.5), p->intervals().percentile_ms(0.01),
                  p->intervals().percentile_ms(0.99));
    if (restart != 0) p->restart_timings();
    return text;
}
