// Frame pacing by deadlines on the headless clock, and the --stats figures of a scripted run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_runs.h"
#include "platform/input_script.h"
#include "test_support.h"

using namespace qvar;

// Each present costs the virtual clock what a frame's work and present would take. The first
// delay counts from its call; then, while a frame takes at most the 10 ms delay, the frames
// start exactly 10 ms apart; a longer frame is followed by the full delay (the old spacing);
// after a long gap the frames do not rush to catch up.
TEST(FramePacing, ExactStepsWhileWorkIsShortTheOldSpacingWhenLongAndNoBurstAfterAGap) {
    test::TestRig rig;
    std::vector<uint64_t> starts;
    for (uint32_t work : {3u, 3u, 9u, 10u, 3u, 14u, 14u, 3u, 700u, 3u, 3u, 3u}) {
        starts.push_back(rig.platform.now_ms());
        rig.platform.set_present_cost_ms(work);
        present_frame(*rig.sys);
        delay_ms(*rig.sys, 10);
    }
    std::vector<uint64_t> intervals;
    for (size_t i = 1; i < starts.size(); ++i) intervals.push_back(starts[i] - starts[i - 1]);
    EXPECT_EQ(intervals, (std::vector<uint64_t>{13, 10, 10, 10, 10, 24, 24, 10, 710, 10, 10}));
}

TEST(FrameStats, AScriptedGameRunsAtExactlyTenMillisecondsAFrameAndTheStatsSaySo) {
    test::TempDir data, user;
    test::write_test_data_files(data.path());
    HeadlessPlatform platform;
    InputScript script;
    std::vector<ScriptError> errors;
    ASSERT_TRUE(parse_input_script("f3 move 60 82\n+100 click\n+3s quit\n", script, errors));
    prepare_scripted_run(platform, script);  // every present costs 1 ms
    CommandLine options;
    options.data_dir = data.path();
    options.user_dir = user.path();
    options.stats = true;
    testing::internal::CaptureStdout();
    EXPECT_EQ(run_program(platform, options), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    // Start-up's frames and the second of calibration are the extremes, beyond 1% of ~320.
    for (const std::string& line : {"frames presented: " + std::to_string(platform.frames_presented()) + "\n",
                                    std::string("frame interval: median 10.000 ms, 1st percentile 10.000 ms, "
                                                "99th percentile 10.000 ms\n"),
                                    std::string("present: median 1.000 ms, 99th percentile 1.000 ms\n"), std::string("processor: ")})
        EXPECT_NE(out.find(line), std::string::npos) << line << " not in:\n" << out;
}
