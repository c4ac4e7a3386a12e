// Input scripts of 10 000, 20 000 and 40 000 timed events: parsing, scheduling them all and
// delivering every one on virtual time. The cost must grow with the events, not their square.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/input_script.h"

using namespace qvar;

namespace {

std::string timed_moves(int64_t events) {
    std::string text;
    for (int64_t i = 0; i < events; ++i) text += std::to_string(2 * i + 1) + " move " + std::to_string(i % 320) + " 7\n";
    return text;
}

void BM_ScriptParseScheduleAndRun(benchmark::State& st) {
    const std::string text = timed_moves(st.range(0));
    for (auto _ : st) {
        InputScript script;
        std::vector<ScriptError> errors;
        parse_input_script(text, script, errors);
        HeadlessPlatform platform;
        install_input_script(platform, script);
        uint64_t delivered = 0;
        for (Message m; platform.has_pending_input(); platform.wait_message(1000))
            while (platform.poll_message(m)) ++delivered;
        benchmark::DoNotOptimize(delivered);
    }
    st.SetComplexityN(st.range(0));
}
BENCHMARK(BM_ScriptParseScheduleAndRun)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
