// The window losing the focus pauses a game exactly as P does, only in a game, only when the
// setting is on; regaining it does not resume.
#include <gtest/gtest.h>

#include "app/main_cycle.h"
#include "platform/input_script.h"
#include "game_fixture.h"

using namespace qvar;

namespace {

struct FocusRun {
    std::vector<uint64_t> veiled;  // frames showing the pause's veil
    uint64_t resumed_at_ms = 0;    // when the first frame after the veil came
};

// The whole program: focus lost and regained in the menu, then a game started from the menu
// loses the focus at frame 120, regains it 2 s later, and x is typed 1 s after that.
FocusRun run_with_focus_loss(bool pause_on_focus_loss) {
    test::TempDir data, user;
    HeadlessPlatform platform;
    System sys{platform};
    test::write_test_data_files(data.path());
    sys.paths = {data.path(), user.path()};
    InputScript script;
    std::vector<ScriptError> errors;
    EXPECT_TRUE(parse_input_script("f3 focus-lost\nf4 focus-gained\nf5 move 40 80\n+100 click\nf120 focus-lost\n"
                                   "+2000 focus-gained\n+1000 type x\n+500 quit\n",
                                   script, errors));
    prepare_scripted_run(platform, script);
    platform.set_pause_on_focus_loss(pause_on_focus_loss);
    FocusRun run;
    platform.set_frame_hook([&run](HeadlessPlatform& p, uint64_t frame) {
        if (!run.veiled.empty() && run.resumed_at_ms == 0) run.resumed_at_ms = p.now_ms();
        if (test::count_pixels(p.last_frame(), 20) > 5000) run.veiled.push_back(frame);
    });
    EXPECT_EQ(game_main(sys), 0);
    return run;
}

}  // namespace

TEST(FocusLoss, PausesAGameAsPDoesWhenTheSettingIsOn) {
    const FocusRun on = run_with_focus_loss(true);
    ASSERT_EQ(on.veiled.size(), 1u);  // one "Paused" frame, right after the focus went
    EXPECT_EQ(on.veiled[0], 121u);
    EXPECT_GE(on.resumed_at_ms, 120u + 3000u);  // regaining the focus did not resume: x did
    EXPECT_TRUE(run_with_focus_loss(false).veiled.empty());
}
