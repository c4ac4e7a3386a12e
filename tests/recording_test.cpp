// Recordings: runs played back to the same frames and trace (scripted, and through the SDL
// backend), bad recordings, the high-score table's recordings and --verify-scores, and the
// committed regression games (recorded in the real window, played back headless).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <cstring>

#include "app/program_runs.h"
#include "platform/recording.h"
#include "platform/sdl_platform.h"
#include "store/high_score_file.h"
#include "store/score_links.h"
#include "test_support.h"

using namespace qvar;
namespace fs = std::filesystem;

namespace {

const std::string BUILD = QVAR_BUILD_DIR;

using Ran = test::RunResult;

// Runs the built qvar with `args`, its data from the build folder.
Ran run_qvar(const std::string& args) { return test::run_built_game("--data-dir '" + BUILD + "' " + args); }

using T = SdlTestEvent::Type;
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // unnamed fields keep their defaults

// Start, fly and shoot a little, Q, a name and Enter, leave the table, quit.
const char* const GAME_SCRIPT =
    "f5 move 60 82\n+100 click\n+500 press up\n+800 release up\n+0 press left\n+300 release left\n"
    "+0 press space\n+50 release space\n+1500 press q\n+100 release q\n+4000 text NAME\n+200 type enter\n"
    "+2000 type space\n+1000 quit\n";

std::string game_script(const test::TempDir& dir, const std::string& name) {
    std::string s = GAME_SCRIPT;
    s.replace(s.find("NAME"), 4, name);
    const std::string path = dir.file("game-" + name + ".txt");
    test::write_text(path, s);
    return path;
}

uint64_t fnv_of(const std::string& text) {
    return fnv1a(FNV_START, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace

TEST(Recording, AScriptedRunPlaysBackToTheSameFramesAndTraceAndABadCopyIsTold) {
    const std::string FRAMES = "1-40,100-140,300-340,500-700";  // menu, game, game over, table
    test::TempDir dir;
    const std::string user = " --headless --user-dir '" + dir.file("user") + "'";
    const Ran made = run_qvar(user + " --input " + game_script(dir, "ann") + " --record " + dir.file("run.qvr") +
                          " --trace " + dir.file("t1") + " --frames-out " + dir.file("f1") + " --frames " + FRAMES);
    ASSERT_EQ(made.status, 0) << made.output;
    const Ran played = run_qvar(user + " --playback " + dir.file("run.qvr") + " --trace " + dir.file("t2") +
                            " --frames-out " + dir.file("f2") + " --frames " + FRAMES);
    ASSERT_EQ(played.status, 0) << played.output;
    EXPECT_EQ(played.output.find("recording"), std::string::npos) << played.output;  // played whole
    EXPECT_GT(test::read_text(dir.file("t1")).size(), 1000u);
    EXPECT_EQ(test::read_text(dir.file("t1")), test::read_text(dir.file("t2")));
    size_t frames = 0;
    for (const auto& e : fs::directory_iterator(dir.file("f1"))) {
        ++frames;
        EXPECT_EQ(test::read_bytes(e.path()), test::read_bytes(dir.file("f2") + "/" + e.path().filename().string()));
    }
    EXPECT_EQ(frames, static_cast<size_t>(std::distance(fs::directory_iterator(dir.file("f2")), fs::directory_iterator())));
    EXPECT_GT(frames, 250u);

    // A cut, damaged, foreign or oversized copy of the recording is told, and never hangs.
    const std::vector<uint8_t> whole = test::read_bytes(dir.file("run.qvr"));
    auto play = [&](std::vector<uint8_t> bytes) {
        test::write_bytes(dir.file("bad.qvr"), bytes);
        return run_qvar(user + " --playback " + dir.file("bad.qvr"));
    };
    Ran r = play({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2)});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("was cut short; it was played to its end ("), std::string::npos) << r.output;
    const struct { size_t at; uint8_t value; int status; const char* told; } damages[] = {
        {whole.size() - 1, 0x7F, 0, "is damaged or does not fit this run after frame"},  // unknown event for the end mark
        {0, 'X', 1, "bad.qvr: not a qvar recording"},
        {12, uint8_t(whole[12] ^ 1), 1, "cannot play the recording: recorded by qvar"},  // the version's first character
    };
    for (const auto& d : damages) {
        std::vector<uint8_t> damaged = whole;
        damaged[d.at] = d.value;
        r = play(damaged);
        EXPECT_EQ(r.status, d.status);
        EXPECT_NE(r.output.find(d.told), std::string::npos) << r.output;
    }
    fs::resize_file(dir.file("run.qvr"), RECORDING_MAX_BYTES + 1);
    r = run_qvar(user + " --playback " + dir.file("run.qvr"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot read the recording ("), std::string::npos) << r.output;
}

TEST(Recording, AnSdlRunWithSyntheticEventsPlaysBackHeadlessToTheSameTrace) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 0);
    test::TempDir dir;
    const std::unique_ptr<Platform> sdl = make_sdl_platform({});
    test::WatchedPlatform platform(*sdl);
    uint64_t n = 0;
    platform.after_present = [&n](Platform& inner, const uint8_t*) {
        const int s = sdl_window_scale(inner);
        auto push = [&inner](SdlTestEvent e) { sdl_push_test_event(inner, e); };
        if (++n == 3) push({.type = T::Motion, .x = 60 * s + s / 2, .y = 82 * s + s / 2});
        if (n == 6) push({.type = T::ButtonDown});
        if (n == 8) push({.type = T::ButtonUp});
        if (n > 100 && n % 40 == 0) push({.type = T::KeyDown, .key = 32});
        if (n > 100 && n % 40 == 3) push({.type = T::KeyUp, .key = 32});
        if (n == 330) push({.type = T::Close});
    };
    CommandLine options;
    options.data_dir = BUILD;
    options.user_dir = dir.file("user");
    options.record_path = dir.file("sdl.qvr");
    options.trace_path = dir.file("t1");
    const int status = run_program(platform, options);
    if (status != 0 || !fs::exists(dir.file("t1"))) GTEST_SKIP() << "SDL cannot open even the dummy display";
    const Ran played = run_qvar("--headless --user-dir '" + dir.file("user") + "' --playback " + dir.file("sdl.qvr") +
                            " --trace " + dir.file("t2"));
    ASSERT_EQ(played.status, 0) << played.output;
    EXPECT_GT(test::read_text(dir.file("t1")).size(), 1000u);
    EXPECT_EQ(test::read_text(dir.file("t1")), test::read_text(dir.file("t2")));
}

TEST(ScoreRecordings, EnteringKeepsPushedOutLosesAndVerifyTellsEveryCase) {
    test::TempDir dir;
    const std::string user = dir.file("user");
    fs::create_directories(user);
    HighScoreTable table;
    for (int p = 0; p < HIGH_SCORE_COUNT; ++p) {
        table.scores[static_cast<size_t>(p)] = p < 19 ? 100 : 0;
        std::snprintf(table.names[static_cast<size_t>(p)].data(), NAME_LENGTH, "%s", p < 19 ? "x" : "old");
    }
    test::write_bytes(user + "/hiscores.dat", high_score_bytes(table));
    auto play = [&](const std::string& name) {
        const Ran r = run_qvar("--headless --user-dir '" + user + "' --input " + game_script(dir, name));
        ASSERT_EQ(r.status, 0) << r.output;
    };
    auto recordings = [&] {
        return static_cast<size_t>(std::distance(fs::directory_iterator(user + "/recordings"), fs::directory_iterator()));
    };
    auto only_link = [&] {
        const std::vector<ScoreLink> links = read_score_links(Paths{"", user});
        EXPECT_EQ(links.size(), 1u);
        return links.empty() ? ScoreLink{} : links[0];
    };
    play("ann");  // a tie goes above the old entry: place 20, "old" is pushed out
    EXPECT_EQ(recordings(), 1u);
    const ScoreLink ann = only_link();
    EXPECT_EQ(ann.name, "ann");
    play("bob");  // pushes ann out: her recording goes
    const ScoreLink bob = only_link();
    EXPECT_EQ(bob.name, "bob");
    EXPECT_EQ(recordings(), 1u);
    EXPECT_FALSE(fs::exists(user + "/recordings/" + ann.file));

    auto verify = [&](int status, std::initializer_list<std::string> lines) {
        const Ran v = run_qvar("--verify-scores --user-dir '" + user + "'");
        EXPECT_EQ(v.status, status);
        for (const std::string& line : lines) EXPECT_NE(v.output.find(line), std::string::npos) << v.output;
    };
    verify(0, {"20. bob                               0          0  verified",
               " 1. x                               100          -  no recording"});
    std::vector<uint8_t> edited = test::read_bytes(user + "/hiscores.dat");
    edited[19 * HIGH_SCORE_RECORD + NAME_LENGTH] = 5;  // bob's score, by hand
    test::write_bytes(user + "/hiscores.dat", edited);
    verify(1, {"20. bob                               5          0  differs"});
    fs::remove(user + "/recordings/" + bob.file);  // a link to a missing recording
    verify(0, {"20. bob                               5          -  no recording ("});
}

// tests/recordings/*.qvr, recorded in the real window (scripts/record-regressions.sh), must
// replay to the final score, level, frame count and trace hash in expected.txt. With
// QVAR_UPDATE_RECORDINGS set, the test writes expected.txt from what the replays give.
TEST(RegressionRecordings, ReplayToTheirExpectedScoreLevelFramesAndTrace) {
    const std::string folder = std::string(QVAR_SOURCE_DIR) + "/tests/recordings";
    std::map<std::string, std::string> expected;
    std::istringstream lines(test::read_text(folder + "/expected.txt"));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#') expected[line.substr(0, line.find(' '))] = line;
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".qvr") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    ASSERT_GE(names.size(), 3u);
    std::string written = "# name, frames presented, final score and level, FNV-1a of the whole trace\n";
    for (const std::string& name : names) {
        test::TempDir dir;
        const Ran r = run_qvar("--headless --user-dir '" + dir.file("user") + "' --playback '" + folder + "/" + name +
                           ".qvr' --trace " + dir.file("trace"));
        ASSERT_EQ(r.status, 0) << r.output;
        const std::string trace = test::read_text(dir.file("trace"));
        const size_t last = trace.rfind("{\"frame\"");
        ASSERT_NE(last, std::string::npos) << name;
        auto field = [&](const char* key) {
            const size_t at = trace.find(key, last);
            return at == std::string::npos ? -1 : std::atoi(trace.c_str() + at + std::strlen(key));
        };
        const size_t frames_at = r.output.find("ended after ");
        char line[200];
        std::snprintf(line, sizeof line, "%s frames %d score %d level %d trace %016llx", name.c_str(),
                      frames_at == std::string::npos ? -1 : std::atoi(r.output.c_str() + frames_at + 12),
                      field("\"score\":"), field("\"level\":"), static_cast<unsigned long long>(fnv_of(trace)));
        written += std::string(line) + "\n";
        if (std::getenv("QVAR_UPDATE_RECORDINGS") == nullptr) {
            EXPECT_EQ(expected[name], line);
        }
    }
    if (std::getenv("QVAR_UPDATE_RECORDINGS") != nullptr) test::write_text(folder + "/expected.txt", written);
}
