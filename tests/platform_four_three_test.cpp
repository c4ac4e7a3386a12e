// The 4:3 picture: its place, each target pixel against a plain two-step reference, columns
// and rows of even width, and the mouse mapping both ways round.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/four_three.h"

using namespace qvar;

namespace {

struct Size {
    int w, h;
};
constexpr Size SIZES[] = {{1920, 1080}, {1280, 960}, {1024, 768}, {800, 600}, {333, 251}, {320, 200}, {2560, 1600}};

std::array<uint32_t, 256> test_colours() {
    std::array<uint32_t, 256> c{};
    for (uint32_t i = 0; i < 256; ++i) c[i] = (i * 0x9E3779B1u) | 0xFF000000u;
    return c;
}

// The plain way: the frame enlarged by whole factors with nearest neighbour, then each target
// pixel sampled at its centre by linear interpolation between the nearest enlarged pixels.
uint8_t reference_byte(const uint8_t* frame, const std::array<uint32_t, 256>& colours, const FourThreePlan& plan,
                       int tx, int ty, int byte) {
    auto axis = [](int i, int target, int enlarged, int& a, int& b, double& f) {
        const double u = std::max(0.0, (i + 0.5) * enlarged / target - 0.5);
        a = std::min(int(u), enlarged - 1);
        b = std::min(a + 1, enlarged - 1);
        f = u - a;
    };
    int x0, x1, y0, y1;
    double fx, fy;
    axis(tx, plan.width, 320 * plan.up_x, x0, x1, fx);
    axis(ty, plan.height, 200 * plan.up_y, y0, y1, fy);
    auto at = [&](int x, int y) { return double((colours[frame[(y / plan.up_y) * 320 + x / plan.up_x]] >> (8 * byte)) & 255); };
    const double top = at(x0, y0) * (1 - fx) + at(x1, y0) * fx;
    const double bottom = at(x0, y1) * (1 - fx) + at(x1, y1) * fx;
    return uint8_t(std::lround(top * (1 - fy) + bottom * fy));
}

}  // namespace

TEST(FourThree, ThePictureIsTheLargest4By3CentredOnTheTarget) {
    const FourThreePlan full_hd = plan_four_three(1920, 1080);
    EXPECT_EQ((std::vector<int>{full_hd.x, full_hd.y, full_hd.width, full_hd.height, full_hd.up_x, full_hd.up_y}),
              (std::vector<int>{240, 0, 1440, 1080, 5, 6}));  // 1600x1200 down to 1440x1080
    const FourThreePlan tall = plan_four_three(1000, 1200);
    EXPECT_EQ((std::vector<int>{tall.x, tall.y, tall.width, tall.height}), (std::vector<int>{0, 225, 1000, 750}));
    EXPECT_EQ(plan_four_three(3, 100).width, 0);
    for (const FourThreeTap& t : plan_four_three(1280, 960).columns) EXPECT_EQ(t.weight, 0);  // 4x exactly: sharp
}

TEST(FourThree, EveryTargetPixelMatchesThePlainTwoStepScaling) {
    std::vector<uint8_t> frame(64000);
    uint32_t seed = 12345;
    for (uint8_t& p : frame) p = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
    const auto colours = test_colours();
    for (const Size& size : SIZES) {
        FourThreePlan plan = plan_four_three(size.w, size.h);
        std::vector<uint32_t> target(size_t(size.w) * size.h, 0xDEADBEEFu);
        draw_four_three(frame.data(), colours, plan, reinterpret_cast<uint8_t*>(target.data()), size.w * 4, 0, 199);
        int worst = 0;
        const int step = size.w * size.h > 1000000 ? 7 : 1;  // every seventh row of the big ones
        for (int y = 0; y < size.h; y += step)
            for (int x = 0; x < size.w; ++x) {
                const uint32_t got = target[size_t(y) * size.w + x];
                const bool inside = x >= plan.x && x < plan.x + plan.width && y >= plan.y && y < plan.y + plan.height;
                if (!inside) {
                    ASSERT_EQ(got, 0xDEADBEEFu) << size.w << "x" << size.h << " wrote outside at " << x << "," << y;
                    continue;
                }
                for (int byte = 0; byte < 4; ++byte)
                    worst = std::max(worst, std::abs(int((got >> (8 * byte)) & 255) -
                                                     reference_byte(frame.data(), colours, plan, x - plan.x, y - plan.y, byte)));
            }
        EXPECT_LE(worst, 2) << size.w << "x" << size.h;  // rounding of the weights to 256ths
    }
}

// How many target pixels' worth each game column (row) shows: the weights it gets, summed.
// Nearest neighbour alone would give widths that differ by a whole pixel.
TEST(FourThree, ColumnsAndRowsShowEvenWidths) {
    for (const Size& size : SIZES) {
        const FourThreePlan plan = plan_four_three(size.w, size.h);
        auto spread = [](const std::vector<FourThreeTap>& taps, int field) {
            std::vector<double> share(size_t(field), 0.0);
            for (const FourThreeTap& t : taps) {
                share[t.first] += (256 - t.weight) / 256.0;
                share[t.second] += t.weight / 256.0;
            }
            const auto [lo, hi] = std::minmax_element(share.begin() + 1, share.end() - 1);  // edges lack a neighbour
            return *hi - *lo;
        };
        EXPECT_LT(spread(plan.columns, 320), 0.5) << size.w << "x" << size.h;
        EXPECT_LT(spread(plan.rows, 200), 0.5) << size.w << "x" << size.h;
    }
}

TEST(FourThree, TheMouseMapsToTheFieldPixelShownAndBack) {
    for (const Size& size : SIZES) {
        const FourThreePlan plan = plan_four_three(size.w, size.h);
        if (plan.width < 320) continue;  // smaller than the field: a 4:3 window is at least 320x240
        for (int fy = 0; fy < 200; ++fy)
            for (int fx = 0; fx < 320; ++fx) {
                int tx, ty;
                uint16_t bx, by;
                four_three_from_field(plan, fx, fy, tx, ty);
                four_three_to_field(plan, tx, ty, bx, by);
                ASSERT_EQ(bx * 1000 + by, fx * 1000 + fy) << size.w << "x" << size.h;
            }
        uint16_t x, y;
        four_three_to_field(plan, -50, size.h + 50, x, y);  // the bars give the nearest edge pixel
        EXPECT_EQ(x * 1000 + y, 199);
        four_three_to_field(plan, plan.x + plan.width - 1, plan.y, x, y);
        EXPECT_EQ(x * 1000 + y, 319000);
    }
}
