// What recording adds to a frame: the writer's work for one game frame (a pump that found
// nothing, eight key reads, the flush at the present and the delay's end), written to a real
// file, with a key changing every few frames as in play; and a whole frame's input through
// the Machine with and without a recorder.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/headless_platform.h"
#include "platform/machine.h"

using namespace qvar;

namespace {

std::string temp_recording() {
    char name[] = "/tmp/qvar-bench-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd >= 0) ::close(fd);
    return name;
}

void BM_RecordOneFrame(benchmark::State& state) {
    const std::string path = temp_recording();
    RecordWriter w;
    std::string error;
    if (!w.open(path, RecordingHeader{}, error)) state.SkipWithError(error.c_str());
    uint64_t frame = 0;
    for (auto _ : state) {
        ++frame;
        w.pumped_nothing();
        for (int k = 0; k < GAME_KEY_COUNT; ++k)
            w.key_read(static_cast<GameKey>(k), k == 3 && frame % 16 < 8);  // thrust held now and then
        w.flush();
        w.delay_ended();
    }
    w.close();
    ::unlink(path.c_str());
}
BENCHMARK(BM_RecordOneFrame);

// The input side of a frame through the Machine: pump, eight key reads, present, delay.
void BM_MachineFrameInput(benchmark::State& state) {
    auto platform = std::make_unique<HeadlessPlatform>();
    std::string error;
    platform->open_display(error);
    Machine sys(*platform);
    sys.display_open = true;
    const std::string path = temp_recording();
    Recorder recorder;
    RecordWriter writer;
    if (state.range(0) != 0) {
        writer.open(path, RecordingHeader{}, error);
        recorder.session = &writer;
        sys.recorder = &recorder;
    }
    for (auto _ : state) {
        pump_or_quit(sys);
        for (int k = 0; k < GAME_KEY_COUNT; ++k) benchmark::DoNotOptimize(key_down(sys, static_cast<GameKey>(k)));
        present_frame(sys);
        delay_ms(sys, 10);
    }
    writer.close();
    ::unlink(path.c_str());
}
BENCHMARK(BM_MachineFrameInput)->Arg(0)->Arg(1)->ArgName("recording");

}  // namespace
