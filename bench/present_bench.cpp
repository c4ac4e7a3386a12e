// Cost of one present on the SDL2 backend. Without a graphics card (and on the dummy driver)
// that is the changed pieces of the picture through the palette, scaled into the window's
// pixels, and those bands sent to the screen; with one, the texture upload and a scaled copy.
// Runs on SDL_VIDEODRIVER (dummy unless set otherwise).
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/sdl_platform.h"

namespace {

// Arguments: the window's scale, and how much changes from frame to frame: 0 one pixel, 1
// every pixel, 2 one in fifty scattered over the picture (the main menu's sparks). Only the
// present is timed.
void BM_SdlPresent(benchmark::State& state) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 0);  // keeps a driver chosen by the caller
    qvar::SdlOptions options;
    options.scale = static_cast<int>(state.range(0));
    auto platform = qvar::make_sdl_platform(options);
    std::string error;
    if (!platform->open_display(error)) {
        state.SkipWithError(("SDL display: " + error).c_str());
        return;
    }
    const int64_t change = state.range(1);
    std::array<uint8_t, 64000> frame{};
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 13 + i / 320);
    qvar::Message m;
    for (auto _ : state) {
        platform->present(frame.data());
        state.PauseTiming();
        while (platform->poll_message(m)) {
        }
        if (change == 1)
            for (uint8_t& p : frame) p ^= 0x55;
        else if (change == 2)
            for (size_t i = static_cast<size_t>(state.iterations()) % 50; i < frame.size(); i += 50) frame[i] ^= 0x55;
        else
            frame[static_cast<size_t>(state.iterations()) % frame.size()] ^= 0x55;
        state.ResumeTiming();
    }
    platform->release_display();
}

}  // namespace

// Fixed iteration counts: the library refuses to aggregate repetitions whose counts differ,
// which happens when a display server makes the timings jumpy. Wall time is what counts:
// the display server and GL driver threads do part of the work.
BENCHMARK(BM_SdlPresent)
    ->ArgsProduct({{1, 2, 5}, {0, 1, 2}})
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(300)
    ->Repetitions(5)
    ->UseRealTime()
    ->ReportAggregatesOnly(true);
