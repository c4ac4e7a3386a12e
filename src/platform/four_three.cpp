// The 4:3 scaler: taps worked out once per target size, then rows made by blending bytes.
#include "platform/four_three.h"

#include <algorithm>
#include <cstring>

namespace qvar {

namespace {

constexpr int FIELD_W = 320;
constexpr int FIELD_H = 200;

// The taps of one axis: `target` pixels made from `field` pixels first repeated `up` times.
// Target pixel i samples the enlarged line at its centre, (i + 1/2) * enlarged / target,
// between the two enlarged pixels whose centres lie either side; worked out in integers.
std::vector<FourThreeTap> axis_taps(int target, int field, int up) {
    std::vector<FourThreeTap> taps(static_cast<size_t>(target));
    const int64_t enlarged = int64_t{field} * up;
    const int64_t den = 2 * int64_t{target};
    for (int i = 0; i < target; ++i) {
        const int64_t num = std::max<int64_t>(0, (2 * int64_t{i} + 1) * enlarged - target);
        const int64_t left = std::min(num / den, enlarged - 1);
        const int64_t right = std::min(left + 1, enlarged - 1);
        auto weight = static_cast<uint16_t>(((num - left * den) * 256 + den / 2) / den);
        FourThreeTap tap{static_cast<uint16_t>(left / up), static_cast<uint16_t>(right / up), weight};
        if (tap.weight == 256) tap.first = tap.second;
        if (tap.first == tap.second) tap.weight = 0;
        taps[static_cast<size_t>(i)] = tap;
    }
    return taps;
}

// Each byte of a and b mixed as a * (256 - w) / 256 + b * w / 256, rounded.
inline uint32_t blend(uint32_t a, uint32_t b, uint32_t w) {
    const uint32_t v = 256 - w;
    const uint32_t even = ((a & 0x00FF00FFu) * v + (b & 0x00FF00FFu) * w + 0x00800080u) >> 8;
    const uint32_t odd = (((a >> 8) & 0x00FF00FFu) * v + ((b >> 8) & 0x00FF00FFu) * w + 0x00800080u) >> 8;
    return (even & 0x00FF00FFu) | ((odd & 0x00FF00FFu) << 8);
}

// Field row `row` across the picture's width.
void widen_row(const uint8_t* field_row, const std::array<uint32_t, 256>& colours, const FourThreePlan& plan,
               uint32_t* out) {
    for (size_t i = 0; i < plan.columns.size(); ++i) {
        const FourThreeTap& t = plan.columns[i];
        const uint32_t a = colours[field_row[t.first]];
        out[i] = t.weight == 0 ? a : blend(a, colours[field_row[t.second]], t.weight);
    }
}

}  // namespace

FourThreePlan plan_four_three(int target_w, int target_h) {
    FourThreePlan plan;
    const int k = std::min(target_w / 4, target_h / 3);
    if (k <= 0) return plan;
    plan.width = 4 * k;
    plan.height = 3 * k;
    plan.x = (target_w - plan.width) / 2;
    plan.y = (target_h - plan.height) / 2;
    plan.up_x = (plan.width + FIELD_W - 1) / FIELD_W;
    plan.up_y = (plan.height + FIELD_H - 1) / FIELD_H;
    plan.columns = axis_taps(plan.width, FIELD_W, plan.up_x);
    plan.rows = axis_taps(plan.height, FIELD_H, plan.up_y);
    plan.scratch.assign(2 * static_cast<size_t>(plan.width), 0);
    return plan;
}

void fill_four_three_bars(uint8_t* target, ptrdiff_t pitch, int width, int height, const FourThreePlan& plan,
                          uint32_t colour) {
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(target + y * pitch);
        if (y < plan.y || y >= plan.y + plan.height) {
            std::fill_n(row, width, colour);
            continue;
        }
        std::fill_n(row, plan.x, colour);
        std::fill_n(row + plan.x + plan.width, width - plan.x - plan.width, colour);
    }
}

void four_three_target_rows(const FourThreePlan& plan, int first_row, int last_row, int& first, int& last) {
    first = plan.height;
    last = -1;
    for (int y = 0; y < plan.height; ++y) {
        const FourThreeTap& t = plan.rows[static_cast<size_t>(y)];
        const bool reached = (t.first >= first_row && t.first <= last_row) ||
                             (t.weight != 0 && t.second >= first_row && t.second <= last_row);
        if (!reached) continue;
        first = std::min(first, y);
        last = y;
    }
}

void draw_four_three(const uint8_t* pixels, const std::array<uint32_t, 256>& colours, FourThreePlan& plan,
                     uint8_t* target, ptrdiff_t pitch, int first_row, int last_row) {
    int first = 0, last = -1;
    four_three_target_rows(plan, first_row, last_row, first, last);
    uint32_t* widened[2] = {plan.scratch.data(), plan.scratch.data() + plan.width};
    int held[2] = {-1, -1};  // the field rows the two widened rows hold
    auto widened_row = [&](int row) {
        for (int k = 0; k < 2; ++k)
            if (held[k] == row) return widened[k];
        const int k = held[0] == -1 || (held[1] != -1 && held[0] < held[1]) ? 0 : 1;  // drop the older row
        widen_row(pixels + static_cast<ptrdiff_t>(row) * FIELD_W, colours, plan, widened[k]);
        held[k] = row;
        return widened[k];
    };
    const auto bytes = static_cast<size_t>(plan.width) * 4;
    for (int y = first; y <= last; ++y) {
        const FourThreeTap& t = plan.rows[static_cast<size_t>(y)];
        auto* out = reinterpret_cast<uint32_t*>(target + (plan.y + y) * pitch) + plan.x;
        const uint32_t* a = widened_row(t.first);
        if (t.weight == 0) {
            std::memcpy(out, a, bytes);
            continue;
        }
        const uint32_t* b = widened_row(t.second);
        for (int i = 0; i < plan.width; ++i) out[i] = blend(a[i], b[i], t.weight);
    }
}

void four_three_to_field(const FourThreePlan& plan, int tx, int ty, uint16_t& fx, uint16_t& fy) {
    if (plan.width <= 0) {
        fx = fy = 0;
        return;
    }
    const int64_t x = std::clamp<int64_t>(tx - plan.x, 0, plan.width - 1);
    const int64_t y = std::clamp<int64_t>(ty - plan.y, 0, plan.height - 1);
    // The field pixel sampled at the target pixel's centre, as the drawing does.
    fx = static_cast<uint16_t>((2 * x + 1) * FIELD_W / (2 * int64_t{plan.width}));
    fy = static_cast<uint16_t>((2 * y + 1) * FIELD_H / (2 * int64_t{plan.height}));
}

}  // namespace qvar
