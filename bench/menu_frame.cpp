// Work time of one main-menu frame on the headless backend (its 10 ms wait is virtual, so
// the time measured is the frame's drawing, spark and present work alone).
#include <benchmark/benchmark.h>

#include "platform/headless_platform.h"
#include "screens/main_menu.h"

using namespace qvar;

namespace {

struct MenuBench {
    HeadlessPlatform platform;
    System sys{platform};
    MenuState state;
    LevelProgress progress;

    MenuBench() {
        std::string error;
        platform.open_display(error);
        sys.display_open = true;
        build_palette(sys, 1.0f);
        for (size_t i = 0; i < sys.font.glyphs.size(); ++i) sys.font.glyphs[i] = make_sprite(GLYPH_WIDTHS[i], 5, 15);
        for (size_t d = 0; d < 10; ++d) {
            sys.large_digits[d] = make_sprite(10, 15, static_cast<uint8_t>(129 + 5 * d));
            sys.large_digits_swapped[d] = make_sprite(10, 15, static_cast<uint8_t>(153 + d));
        }
        state.pointer = make_sprite(12, 12, 15);
        for (auto& ships : progress.ships) ships = 5;  // every entry reached: a full list
        sys.input.mouse_x = 260;                       // over the pane: arrows, divider, hover
        sys.input.mouse_y = 100;
    }
};

void BM_MenuFrameSteady(benchmark::State& st) {
    MenuBench b;
    for (int f = 0; f < 2000; ++f) menu_frame(b.sys, b.state, b.progress);  // sparks settle
    for (auto _ : st) menu_frame(b.sys, b.state, b.progress);
    st.counters["sparks"] = b.sys.sparks.count;
}
BENCHMARK(BM_MenuFrameSteady);

void BM_MenuFrameFullPool(benchmark::State& st) {
    MenuBench b;
    SparkPool& p = b.sys.sparks;
    for (int32_t i = 0; i < SPARK_CAPACITY; ++i) {
        auto s = static_cast<size_t>(i);
        p.x[s] = static_cast<float>((i * 7) % 320);
        p.y[s] = static_cast<float>((i * 13) % 200);
        p.dx[s] = 0.0001f;
        p.dy[s] = 0.0001f;
        p.colour[s] = 20;
    }
    p.count = SPARK_CAPACITY;
    for (auto _ : st) menu_frame(b.sys, b.state, b.progress);
}
BENCHMARK(BM_MenuFrameFullPool);

}  // namespace
