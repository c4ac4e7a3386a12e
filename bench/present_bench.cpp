// Cost of one present on the SDL2 backend: palette lookup into the streaming texture,
// upload, copy and present. Runs on SDL_VIDEODRIVER (dummy unless set otherwise).
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/sdl_platform.h"

namespace {

void BM_SdlPresent(benchmark::State& state) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 0);  // keeps a driver chosen by the caller
    auto platform = qvar::make_sdl_platform(qvar::SdlOptions{false, static_cast<int>(state.range(0))});
    std::string error;
    if (!platform->open_display(error)) {
        state.SkipWithError(("SDL display: " + error).c_str());
        return;
    }
    std::array<uint8_t, 64000> frame{};
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 13 + i / 320);
    qvar::Message m;
    for (auto _ : state) {
        platform->present(frame.data());
        while (platform->poll_message(m)) {
        }
        frame[static_cast<size_t>(state.iterations()) % frame.size()] ^= 0x55;
    }
    platform->release_display();
}

}  // namespace

// Fixed iteration counts: the library refuses to aggregate repetitions whose counts differ,
// which happens when a display server makes the timings jumpy. Wall time is what counts:
// the display server and GL driver threads do part of the work.
BENCHMARK(BM_SdlPresent)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Arg(5)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(300)
    ->Repetitions(5)
    ->UseRealTime()
    ->ReportAggregatesOnly(true);
