// Chooses the width of the world's hot loops and passes every call to it.
#include "world/lanes.h"

#include "world/lanes_width.h"

namespace qvar::world::lanes {

namespace {

int32_t detect_widest() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return 8;
#endif
    return 4;
}

int32_t& in_use() {
    static int32_t lanes = widest();
    return lanes;
}

// Calls the width's version of a loop.
#if defined(__x86_64__)
#define QVAR_LANES_CALL(name, ...) (in_use() == 8 ? lanes8::name(__VA_ARGS__) : lanes4::name(__VA_ARGS__))
#else
#define QVAR_LANES_CALL(name, ...) lanes4::name(__VA_ARGS__)
#endif

}  // namespace

int32_t widest() {
    static const int32_t lanes = detect_widest();
    return lanes;
}
int32_t width() { return in_use(); }
void use_width(int32_t lanes) {
    if (lanes == 4 || (lanes == 8 && widest() == 8)) in_use() = lanes;
}

int32_t shots_round(const ShotColumns& s, float x, float y, float r2, ShotList& out) {
    return QVAR_LANES_CALL(shots_round, s, x, y, r2, out);
}
int32_t shots_box(const ShotColumns& s, float x, float y, float ax, float ay, bool strict, ShotList& out) {
    return QVAR_LANES_CALL(shots_box, s, x, y, ax, ay, strict, out);
}
void turn_back(const float* px, const float* py, float* vx, float* vy, float* spin, int32_t first, int32_t end,
               float x, float y) {
    QVAR_LANES_CALL(turn_back, px, py, vx, vy, spin, first, end, x, y);
}
void pull_foes(FoePool& f, int32_t first, int32_t end, float x, float y) {
    QVAR_LANES_CALL(pull_foes, f, first, end, x, y);
}
void pull_shots(ShotPool& s, float x, float y) { QVAR_LANES_CALL(pull_shots, s, x, y); }
bool crowded(const KindList& cells, int32_t i, float x, float y) { return QVAR_LANES_CALL(crowded, cells, i, x, y); }
int32_t pull_lodestones(const KindList& l, int32_t from, Puller& p, FoePool& f) {
    return QVAR_LANES_CALL(pull_lodestones, l, from, p, f);
}

}  // namespace qvar::world::lanes
