// Recordings: runs played back to the same frames and trace (scripted, and through the SDL
// backend), the high-score table's recordings and --verify-scores, bad recordings, and the
// committed regression games.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <cstring>
#include <functional>
#include <sys/wait.h>

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

struct Ran {
    int status = -1;
    std::string output;  // stdout and stderr together
};

// Runs the built qvar with `args` (data from the build folder) and collects what it says.
Ran run_qvar(const std::string& args) {
    Ran ran;
    FILE* p = ::popen(("'" + BUILD + "/qvar' --data-dir '" + BUILD + "' " + args + " 2>&1").c_str(), "r");
    if (p == nullptr) return ran;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) ran.output.append(buf, n);
    const int status = ::pclose(p);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

std::string text_of(const std::string& path) {
    const std::vector<uint8_t> b = test::read_bytes(path);
    return {b.begin(), b.end()};
}

void write_text(const std::string& path, const std::string& text) { test::write_bytes(path, {text.begin(), text.end()}); }

// Start, fly and shoot a little, Q, a name and Enter, leave the table, quit.
const char* const GAME_SCRIPT =
    "f5 move 60 82\n+100 click\n+500 press up\n+800 release up\n+0 press left\n+300 release left\n"
    "+0 press space\n+50 release space\n+1500 press q\n+100 release q\n+4000 text NAME\n+200 type enter\n"
    "+2000 type space\n+1000 quit\n";

std::string game_script(const test::TempDir& dir, const std::string& name) {
    std::string s = GAME_SCRIPT;
    s.replace(s.find("NAME"), 4, name);
    const std::string path = dir.file("game-" + name + ".txt");
    write_text(path, s);
    return path;
}

uint64_t fnv_of(const std::string& text) {
    return fnv1a(FNV_START, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace

TEST(Recording, AScriptedRunPlaysBackToTheSameFramesAndTrace) {
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
    EXPECT_GT(text_of(dir.file("t1")).size(), 1000u);
    EXPECT_EQ(text_of(dir.file("t1")), text_of(dir.file("t2")));
    size_t frames = 0;
    for (const auto& e : fs::directory_iterator(dir.file("f1"))) {
        ++frames;
        EXPECT_EQ(test::read_bytes(e.path()), test::read_bytes(dir.file("f2") + "/" + e.path().filename().string()));
    }
    EXPECT_EQ(frames, static_cast<size_t>(std::distance(fs::directory_iterator(dir.file("f2")), fs::directory_iterator())));
    EXPECT_GT(frames, 250u);
}

namespace {

// The SDL platform, with synthetic events pushed after given presented frames.
class PushingPlatform : public Platform {
public:
    explicit PushingPlatform(std::unique_ptr<Platform> real) : real_(std::move(real)) {}
    std::function<void(Platform&, uint64_t)> after_frame;
    bool open_display(std::string& e) override { return real_->open_display(e); }
    void set_palette_entry(uint8_t i, Rgb c) override { real_->set_palette_entry(i, c); }
    void present(const uint8_t* p) override {
        real_->present(p);
        after_frame(*real_, ++frames_);
    }
    void release_display() override { real_->release_display(); }
    bool poll_message(Message& m) override { return real_->poll_message(m); }
    void wait_message(uint32_t ms) override { real_->wait_message(ms); }
    bool wait_message_us(uint64_t us) override { return real_->wait_message_us(us); }
    uint64_t now_ms() override { return real_->now_ms(); }
    uint64_t now_us() override { return real_->now_us(); }
    void start_timer(int32_t id, uint32_t ms) override { real_->start_timer(id, ms); }
    bool key_down(GameKey k) override { return real_->key_down(k); }
    void set_input_mode(InputMode mode) override { real_->set_input_mode(mode); }
    void message_box(const std::string& c, const std::string& t) override { real_->message_box(c, t); }

private:
    std::unique_ptr<Platform> real_;
    uint64_t frames_ = 0;
};

SdlTestEvent event(SdlTestEvent::Type type, int key = 0) {
    SdlTestEvent e;
    e.type = type;
    e.key = key;
    return e;
}

SdlTestEvent motion(int x, int y) {
    SdlTestEvent e = event(SdlTestEvent::Type::Motion);
    e.x = x;
    e.y = y;
    return e;
}

}  // namespace

TEST(Recording, AnSdlRunWithSyntheticEventsPlaysBackHeadlessToTheSameTrace) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 0);
    test::TempDir dir;
    PushingPlatform platform(make_sdl_platform({}));
    using T = SdlTestEvent::Type;
    platform.after_frame = [](Platform& sdl, uint64_t n) {
        const int s = sdl_window_scale(sdl);
        if (n == 3) sdl_push_test_event(sdl, motion(60 * s + s / 2, 82 * s + s / 2));
        if (n == 6) sdl_push_test_event(sdl, event(T::ButtonDown));
        if (n == 8) sdl_push_test_event(sdl, event(T::ButtonUp));
        if (n > 100 && n % 40 == 0) sdl_push_test_event(sdl, event(T::KeyDown, 32));
        if (n > 100 && n % 40 == 3) sdl_push_test_event(sdl, event(T::KeyUp, 32));
        if (n == 330) sdl_push_test_event(sdl, event(T::Close));
    };
    CommandLine options;
    options.data_dir = BUILD;
    options.user_dir = dir.file("user");
    options.record_path = dir.file("sdl.qvr");
    options.trace_path = dir.file("t1");
    std::string error;
    const int status = run_program(platform, options);
    if (status != 0 || !fs::exists(dir.file("t1"))) GTEST_SKIP() << "SDL cannot open even the dummy display";
    const Ran played = run_qvar("--headless --user-dir '" + dir.file("user") + "' --playback " + dir.file("sdl.qvr") +
                            " --trace " + dir.file("t2"));
    ASSERT_EQ(played.status, 0) << played.output;
    EXPECT_GT(text_of(dir.file("t1")).size(), 1000u);
    EXPECT_EQ(text_of(dir.file("t1")), text_of(dir.file("t2")));
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
    play("ann");  // a tie goes above the old entry: place 20, "old" is pushed out
    EXPECT_EQ(recordings(), 1u);
    Paths paths;
    paths.user_dir = user;
    const std::vector<ScoreLink> ann = read_score_links(paths);
    ASSERT_EQ(ann.size(), 1u);
    EXPECT_EQ(ann[0].name, "ann");
    play("bob");  // pushes ann out: her recording goes
    const std::vector<ScoreLink> bob = read_score_links(paths);
    ASSERT_EQ(bob.size(), 1u);
    EXPECT_EQ(bob[0].name, "bob");
    EXPECT_EQ(recordings(), 1u);
    EXPECT_FALSE(fs::exists(user + "/recordings/" + ann[0].file));

    Ran v = run_qvar("--verify-scores --user-dir '" + user + "'");
    EXPECT_EQ(v.status, 0) << v.output;
    EXPECT_NE(v.output.find("20. bob                               0          0  verified"), std::string::npos) << v.output;
    EXPECT_NE(v.output.find(" 1. x                               100          -  no recording"), std::string::npos);

    std::vector<uint8_t> edited = test::read_bytes(user + "/hiscores.dat");
    edited[19 * HIGH_SCORE_RECORD + NAME_LENGTH] = 5;  // bob's score, by hand
    test::write_bytes(user + "/hiscores.dat", edited);
    v = run_qvar("--verify-scores --user-dir '" + user + "'");
    EXPECT_EQ(v.status, 1);
    EXPECT_NE(v.output.find("20. bob                               5          0  differs"), std::string::npos) << v.output;

    fs::remove(user + "/recordings/" + bob[0].file);  // a link to a missing recording
    v = run_qvar("--verify-scores --user-dir '" + user + "'");
    EXPECT_EQ(v.status, 0);
    EXPECT_NE(v.output.find("20. bob                               5          -  no recording ("), std::string::npos) << v.output;
}

TEST(Recording, TruncatedDamagedForeignAndHugeRecordingsAreToldAndNeverHang) {
    test::TempDir dir;
    const std::string user = " --headless --user-dir '" + dir.file("user") + "'";
    ASSERT_EQ(run_qvar(user + " --input " + game_script(dir, "cy") + " --record " + dir.file("whole.qvr")).status, 0);
    const std::vector<uint8_t> whole = test::read_bytes(dir.file("whole.qvr"));
    ASSERT_GT(whole.size(), 1000u);
    auto play = [&](std::vector<uint8_t> bytes) {
        test::write_bytes(dir.file("bad.qvr"), bytes);
        return run_qvar(user + " --playback " + dir.file("bad.qvr"));
    };
    Ran r = play({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2)});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("was cut short; it was played to its end ("), std::string::npos) << r.output;

    std::vector<uint8_t> damaged = whole;
    damaged[whole.size() - 1] = 0x7F;  // an unknown event where the end mark was
    r = play(damaged);
    EXPECT_NE(r.output.find("is damaged or does not fit this run after frame"), std::string::npos) << r.output;

    damaged = whole;
    damaged[0] = 'X';
    r = play(damaged);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("bad.qvr: not a qvar recording"), std::string::npos) << r.output;

    damaged = whole;
    damaged[12] ^= 1;  // the program version's first character
    r = play(damaged);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot play the recording: recorded by qvar"), std::string::npos) << r.output;

    fs::resize_file(dir.file("whole.qvr"), RECORDING_MAX_BYTES + 1);
    r = run_qvar(user + " --playback " + dir.file("whole.qvr"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot read the recording ("), std::string::npos) << r.output;
}

// tests/recordings/*.qvr, recorded in the real window (scripts/record-regressions.sh), must
// replay to the final score, level, frame count and trace hash in expected.txt. With
// QVAR_UPDATE_RECORDINGS set, the test writes expected.txt from what the replays give.
TEST(RegressionRecordings, ReplayToTheirExpectedScoreLevelFramesAndTrace) {
    const std::string folder = std::string(QVAR_SOURCE_DIR) + "/tests/recordings";
    std::map<std::string, std::string> expected;
    std::istringstream lines(text_of(folder + "/expected.txt"));
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
        const std::string trace = text_of(dir.file("trace"));
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
    if (std::getenv("QVAR_UPDATE_RECORDINGS") != nullptr) write_text(folder + "/expected.txt", written);
}
