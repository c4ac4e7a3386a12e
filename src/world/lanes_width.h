// The hot loops of one width, as lanes.cpp dispatches them: lanes4:: everywhere, and lanes8::
// (built for AVX2) on x86-64.
#pragma once

#include "world/lanes.h"

#define QVAR_LANES_DECLARE(TARGET)                                                                     \
    TARGET int32_t shots_round(const lanes::ShotColumns& s, float x, float y, float r2,                \
                               lanes::ShotList& out);                                                  \
    TARGET int32_t shots_box(const lanes::ShotColumns& s, float x, float y, float ax, float ay,        \
                             bool strict, lanes::ShotList& out);                                       \
    TARGET void turn_back(const float* px, const float* py, float* vx, float* vy, float* spin,         \
                          int32_t first, int32_t end, float x, float y);                               \
    TARGET void pull_foes(FoePool& f, int32_t first, int32_t end, float x, float y);                   \
    TARGET void pull_shots(ShotPool& s, float x, float y);                                             \
    TARGET bool crowded(const KindList& c, int32_t i, float x, float y);                               \
    TARGET int32_t pull_lodestones(const KindList& l, int32_t from, lanes::Puller& p, FoePool& f);

namespace qvar::world::lanes4 {
QVAR_LANES_DECLARE()
}  // namespace qvar::world::lanes4

#if defined(__x86_64__)
namespace qvar::world::lanes8 {
QVAR_LANES_DECLARE(__attribute__((target("avx2"))))
}  // namespace qvar::world::lanes8
#endif

#undef QVAR_LANES_DECLARE
