// The picture on a bigger target. Square pixels: its place, whole and changed-only drawing, and
// the bars. 4:3: its place, and each target pixel against a plain two-step reference (which
// also keeps the game's columns and rows of even width). The mouse mapping of both is checked
// through the window against a computation of its own, in platform_sdl_window_test.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "platform/four_three.h"
#include "platform/scaled_picture.h"

using namespace qvar;

namespace {

constexpr int W = 700, H = 450;  // scale 2, the picture at (30, 25)
constexpr uint32_t UNTOUCHED = 0xDEADBEEF;

struct Target {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(W * H, UNTOUCHED);
    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(pixels.data()); }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * W + x)]; }
};

ColourTable colours() {
    ColourTable c{};
    for (size_t i = 0; i < c.size(); ++i) c[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203u);
    return c;
}

struct Size { int w, h; };
constexpr Size SIZES[] = {{1920, 1080}, {1280, 960}, {1024, 768}, {800, 600}, {333, 251}, {320, 200}, {2560, 1600}};

// The plain way: the frame enlarged by whole factors with nearest neighbour, then each target
// pixel sampled at its centre by linear interpolation between the nearest enlarged pixels.
uint8_t reference_byte(const uint8_t* frame, const ColourTable& colours, const FourThreePlan& plan,
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

TEST(ScaledPicture, FitsDrawsWholeOrChangedPiecesAndFillsTheBars) {
    EXPECT_EQ(fit_picture(319, 1000).scale_x, 0);  // the place at other sizes: SdlWindow's mouse test

    const PictureFit fit = fit_picture(W, H);
    ASSERT_EQ(std::make_tuple(fit.scale_x, fit.x, fit.y), std::make_tuple(2, 30, 25));
    std::vector<uint8_t> before(64000), now(64000);
    for (size_t i = 0; i < before.size(); ++i) before[i] = static_cast<uint8_t>(i % 251);
    now = before;
    now[10 * 320 + 5] = 7;     // two changes far apart: two bands
    now[150 * 320 + 300] = 9;
    Target whole, changed;
    draw_scaled(before.data(), colours(), fit, changed.bytes(), W * 4);
    draw_scaled(now.data(), colours(), fit, whole.bytes(), W * 4);
    FieldRect parts[8];
    const int n = draw_changes(before.data(), now.data(), colours(), fit, changed.bytes(), W * 4, parts, 8);
    EXPECT_TRUE(changed.pixels == whole.pixels);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(std::make_tuple(parts[0].x, parts[0].y, parts[0].w, parts[0].h), std::make_tuple(0, 10, 8, 1));
    EXPECT_EQ(std::make_tuple(parts[1].x, parts[1].y, parts[1].w, parts[1].h), std::make_tuple(296, 150, 8, 1));
    EXPECT_EQ(draw_changes(now.data(), now.data(), colours(), fit, changed.bytes(), W * 4, parts, 8), 0);
    EXPECT_EQ(draw_changes(before.data(), now.data(), colours(), fit, changed.bytes(), W * 4, parts, 1), 1);
    EXPECT_EQ(std::make_tuple(parts[0].x, parts[0].y, parts[0].w, parts[0].h), std::make_tuple(0, 10, 304, 141));
    // Play-field pixel (5, 10) is the 2x2 block at (40, 45); the bars are not drawn on.
    for (auto [x, y] : {std::pair{40, 45}, {41, 46}}) EXPECT_EQ(whole.at(x, y), colours()[7]);
    for (auto [x, y] : {std::pair{29, 45}, {670, 45}, {40, 24}, {40, 425}}) EXPECT_EQ(whole.at(x, y), UNTOUCHED);

    fill_bars(whole.bytes(), W * 4, W, H, fit, 0);
    for (auto [x, y] : {std::pair{0, 0}, {29, 45}, {670, 45}, {699, 449}, {40, 24}, {40, 425}}) EXPECT_EQ(whole.at(x, y), 0u);
    EXPECT_EQ(whole.at(40, 45), colours()[7]);
}

// Its place and size at many sizes: SdlWindow's mouse test, against a computation of its own.
TEST(FourThree, EnlargedByWholeFactorsAtLeastToTheTarget) {
    const FourThreePlan full_hd = plan_four_three(1920, 1080);
    EXPECT_EQ(std::make_pair(full_hd.up_x, full_hd.up_y), std::make_pair(5, 6));  // 1600x1200 down to 1440x1080
    EXPECT_EQ(plan_four_three(3, 100).width, 0);
    for (const FourThreeTap& t : plan_four_three(1280, 960).columns) EXPECT_EQ(t.weight, 0);  // 4x exactly: sharp
}

TEST(FourThree, EveryTargetPixelMatchesThePlainTwoStepScaling) {
    std::vector<uint8_t> frame(64000);
    uint32_t seed = 12345;
    for (uint8_t& p : frame) p = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
    const ColourTable table = colours();
    for (const Size& size : SIZES) {
        FourThreePlan plan = plan_four_three(size.w, size.h);
        std::vector<uint32_t> target(size_t(size.w) * size.h, 0xDEADBEEFu);
        draw_four_three(frame.data(), table, plan, reinterpret_cast<uint8_t*>(target.data()), size.w * 4, 0, 199);
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
                                                     reference_byte(frame.data(), table, plan, x - plan.x, y - plan.y, byte)));
            }
        EXPECT_LE(worst, 2) << size.w << "x" << size.h;  // rounding of the weights to 256ths
    }
}
