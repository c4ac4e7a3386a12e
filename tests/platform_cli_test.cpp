// The command line: every option, both value spellings, the refusals and the exit statuses.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "app/command_line.h"
#include "test_support.h"

using namespace qvar;

namespace {

ParsedCommandLine parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv = {"qvar"};
    argv.insert(argv.end(), args.begin(), args.end());
    return parse_command_line(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(CommandLine, GoodOptionsAreStoredInBothSpellings) {
    EXPECT_EQ(parse({}).action, CommandAction::Run);
    ParsedCommandLine p = parse({"--headless", "--input", "run.txt", "--frames-out=out", "--frames", "1,10-12",
                                 "--trace=t.jsonl", "--data-dir", "/d", "--user-dir=/u"});
    ASSERT_EQ(p.action, CommandAction::Run) << p.error;
    EXPECT_TRUE(p.options.headless);
    const CommandLine& o = p.options;
    EXPECT_EQ((std::vector<std::string>{o.input_path, o.frames_out, o.trace_path, o.data_dir, o.user_dir}),
              (std::vector<std::string>{"run.txt", "out", "t.jsonl", "/d", "/u"}));
    EXPECT_TRUE(p.options.frames.contains(11));
    EXPECT_FALSE(p.options.frames.contains(2));
    // Settings for this run become (name, value) overrides, in command-line order.
    ParsedCommandLine w = parse({"--fullscreen", "--scale=16", "--aspect", "4:3", "--windowed", "--config", "c.conf",
                                 "--set", "pause_on_focus_loss=no", "--set=screenshot_folder=~/s"});
    ASSERT_EQ(w.action, CommandAction::Run) << w.error;
    EXPECT_EQ(w.options.config_path, "c.conf");
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(w.options.overrides, (Pairs{{"fullscreen", "yes"}, {"scale", "16"}, {"aspect", "4:3"}, {"fullscreen", "no"},
                                          {"pause_on_focus_loss", "no"}, {"screenshot_folder", "~/s"}}));
    EXPECT_EQ(parse({"--help"}).action, CommandAction::Help);  // help and version win
    EXPECT_EQ(parse({"--scale", "2", "--version"}).action, CommandAction::Version);
}

TEST(CommandLine, BadInputIsRefusedWithAReason) {
    struct Case {
        std::initializer_list<const char*> args;
        const char* mention;
    };
    const Case cases[] = {
        {{"--bogus"}, "--bogus"}, {{"play"}, "play"}, {{"--scale", "0"}, "--scale"}, {{"--scale", "17"}, "--scale"},
        {{"--scale", "2x"}, "--scale"}, {{"--scale"}, "--scale needs a value"},
        {{"--input", "--headless"}, "--input needs a value"}, {{"--data-dir="}, "--data-dir needs a value"},
        {{"--headless=yes"}, "takes no value"}, {{"--input", "a.txt"}, "need --headless"},
        {{"--headless", "--frames", "5"}, "go together"}, {{"--headless", "--frames-out", "d"}, "go together"},
        {{"--headless", "--frames-out", "d", "--frames", "9-3"}, "bad frame list"},
        {{"--headless", "--scale", "2"}, "cannot go with --headless"},
        {{"--headless", "--aspect", "4:3"}, "cannot go with --headless"}, {{"--aspect", "16:9"}, "square or 4:3"},
        {{"--set", "scale"}, "NAME=VALUE"}, {{"--set", "zoom=2"}, "unknown setting 'zoom'"},
        {{"--set", "fullscreen=maybe"}, "yes or no"},
    };
    for (const Case& c : cases) {
        ParsedCommandLine p = parse(c.args);
        EXPECT_EQ(p.action, CommandAction::Error) << *c.args.begin();
        EXPECT_NE(p.error.find(c.mention), std::string::npos) << p.error;
    }
}

// The executable's side of a script that cannot be read (bad options and faulty scripts:
// the documentation's examples).
TEST(CommandLine, AnUnreadableScriptEndsWithStatus2AndItsReasonOnOneLine) {
    test::TempDir dir;
    const std::string common = "--headless --user-dir " + dir.file("user") + " --input ";
    EXPECT_EQ(test::run_built_game(common + dir.path()).status, 2);  // a folder
    const test::RunResult missing = test::run_built_game(common + dir.file("missing.txt"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.output, dir.file("missing.txt") + ": cannot read the input script: no such file\n");
}

// Arguments are echoed with control characters escaped and cut after 80 characters.
TEST(CommandLine, ErrorsQuoteArgumentsSafely) {
    const ParsedCommandLine escaped = parse({"--scale", "\x1b[2J\n"});
    EXPECT_EQ(escaped.error, "--scale: bad value '\\e[2J\\n' for scale: expected auto or a whole number from 1 to 16");
    const ParsedCommandLine cut = parse({std::string(300, 'a').c_str()});
    EXPECT_EQ(cut.error, "unexpected argument '" + std::string(80, 'a') + "...'");
    const ParsedCommandLine frames = parse({"--headless", "--frames-out", "d", "--frames", "1\r2"});
    EXPECT_NE(frames.error.find("'1\\r2'"), std::string::npos) << frames.error;
}
