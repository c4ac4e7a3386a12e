// Input scripts: what parses, what is refused (with line numbers), and what a script does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input_script.h"
#include "util/random.h"

using namespace qvar;

namespace {

InputScript parse_ok(const std::string& text) {
    InputScript script;
    std::vector<ScriptError> errors;
    EXPECT_TRUE(parse_input_script(text, script, errors)) << (errors.empty() ? "" : errors[0].message);
    return script;
}

std::vector<ScriptError> parse_bad(const std::string& text) {
    InputScript script;
    std::vector<ScriptError> errors;
    EXPECT_FALSE(parse_input_script(text, script, errors)) << text;
    return errors;
}

// Every message the platform delivers until `until` ms of virtual time, with its time.
struct Seen {
    uint64_t at;
    Message m;
};
std::vector<Seen> drain(HeadlessPlatform& p, uint64_t until) {
    std::vector<Seen> seen;
    Message m;
    while (p.now_ms() < until) {
        while (p.poll_message(m)) seen.push_back({p.now_ms(), m});
        p.wait_message(static_cast<uint32_t>(until - p.now_ms()));
    }
    while (p.poll_message(m)) seen.push_back({p.now_ms(), m});
    return seen;
}

}  // namespace

TEST(InputScriptParse, EveryFormOfTimeActionAndDirective) {
    InputScript s = parse_ok(
        "# a comment\r\n"
        "\n"
        "   idle-quit 5s\n"
        "2500 press space\n"
        "+400ms release SPACE\n"
        "f120 type enter\n"
        "+f10 type \"#\"   # a comment after the event\n"
        "3s text \"  Ace # 1 \"\n"
        "+0 text hello world # greeting\n"
        "10 move 319 199\n"
        "11 button-down right\n"
        "12 button-up left\n"
        "13 click\n"
        "14 click right 5 6\n"
        "15 click 7 8\n"
        "16\tquit\n");
    EXPECT_EQ(s.idle_quit_ms, 5000u);
    ASSERT_EQ(s.events.size(), 13u);
    EXPECT_EQ(s.events[0].when, ScriptWhen::AtTime);
    EXPECT_EQ(s.events[0].at, 2500u);
    EXPECT_EQ(s.events[0].line, 4);
    EXPECT_EQ(s.events[1].when, ScriptWhen::AfterTime);
    EXPECT_EQ(s.events[1].op, ScriptOp::Release);
    EXPECT_EQ(s.events[2].when, ScriptWhen::AtFrame);
    EXPECT_EQ(s.events[2].text, "\r");
    EXPECT_EQ(s.events[3].when, ScriptWhen::AfterFrames);
    EXPECT_EQ(s.events[3].text, "#");
    EXPECT_EQ(s.events[4].at, 3000u);
    EXPECT_EQ(s.events[4].text, "  Ace # 1 ");
    EXPECT_EQ(s.events[5].text, "hello world");
    EXPECT_EQ(s.events[6].x, 319);
    EXPECT_EQ(s.events[7].button, MOUSE_RIGHT);
    EXPECT_FALSE(s.events[9].has_position);
    EXPECT_EQ(s.events[9].button, MOUSE_LEFT);
    EXPECT_EQ(s.events[10].button, MOUSE_RIGHT);
    EXPECT_EQ(s.events[10].y, 6);
    EXPECT_TRUE(s.events[11].has_position);
    EXPECT_EQ(s.events[12].op, ScriptOp::Quit);
    EXPECT_TRUE(parse_ok("").events.empty());
}

TEST(InputScriptParse, FaultsAreReportedWithTheirLineNumbers) {
    std::vector<ScriptError> e = parse_bad(
        "100 press space\n"
        "soon press space\n"         // 2: no time
        "100 press shift\n"          // 3: not a game key
        "100 type ab\n"              // 4: two characters
        "100 move 320 10\n"          // 5: off the play-field
        "100 click middle\n"         // 6: no such button
        "100 jump\n"                 // 7: unknown action
        "100\n"                      // 8: no action
        "99999999999 quit\n"         // 9: too large
        "-5 quit\n"                  // 10: negative
        "100 quit now\n"             // 11: extra words
        "100 text caf\xc3\xa9\n"     // 12: not ASCII
        "idle-quit soon\n"           // 13
        "100 text\n"                 // 14: empty text
        "f quit\n"                  // 15
        "100 type # hash\n");       // 16: the '#' starts a comment, so nothing is typed
    std::vector<int> lines;
    for (const ScriptError& err : e) {
        lines.push_back(err.line);
        EXPECT_FALSE(err.message.empty());
    }
    EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    std::vector<ScriptError> nul = parse_bad(std::string("1 quit\n2 type \0\n", 16));
    ASSERT_EQ(nul.size(), 1u);
    EXPECT_EQ(nul[0].line, 2);
}

TEST(InputScriptParse, ArbitraryBytesNeverBreakTheParser) {
    Random rng;
    const std::string alphabet = "0123456789+f fmsqpressclickmovetypetext\"\n\t#-,\r\x01\xff";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int n = random_int(rng, 80);
        for (int i = 0; i < n; ++i) text.push_back(alphabet[static_cast<size_t>(random_int(rng, static_cast<int>(alphabet.size())))]);
        InputScript script;
        std::vector<ScriptError> errors;
        bool ok = parse_input_script(text, script, errors);
        EXPECT_EQ(ok, errors.empty());
        for (const ScriptError& err : errors) EXPECT_GE(err.line, 1);
    }
}

TEST(InputScriptRun, RelativeEventsCountFromTheEndOfTheOneAbove) {
    HeadlessPlatform p;
    install_input_script(p, parse_ok("100 type a\n"
                                     "+50 click left 10 20\n"
                                     "+0 text xy\n"
                                     "1000 quit\n"));
    std::vector<Seen> seen = drain(p, 2000);
    // type a: down+char at 100, up at 130; click: move+down at 180, up at 220;
    // text: x at 220 (+30 up), y at 280 (+30 up); quit at 1000.
    std::vector<std::pair<uint64_t, MessageKind>> got;
    for (const Seen& s : seen) got.emplace_back(s.at, s.m.kind);
    using K = MessageKind;
    std::vector<std::pair<uint64_t, MessageKind>> want = {
        {100, K::Other}, {100, K::Character}, {130, K::Other},     {180, K::MouseMove}, {180, K::MouseButton},
        {220, K::MouseButton}, {220, K::Other}, {220, K::Character}, {250, K::Other}, {280, K::Other},
        {280, K::Character}, {310, K::Other}, {1000, K::Quit}};
    EXPECT_EQ(got, want);
    EXPECT_EQ(seen[1].m.character, 'a');
    EXPECT_EQ(seen[4].m.button_flags, MOUSE_LEFT);
    EXPECT_EQ(seen[5].m.button_flags, 0u);
    EXPECT_EQ(seen[10].m.character, 'y');
}

TEST(InputScriptRun, KeysTypeTheirCharacterAndCtrlRidesOnButtonFlags) {
    HeadlessPlatform p;
    install_input_script(p, parse_ok("10 press q\n"
                                     "+0 press ctrl\n"
                                     "+0 button-down right\n"
                                     "+10 release ctrl\n"
                                     "+0 button-up right\n"));
    std::vector<Seen> seen = drain(p, 100);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[1].m.kind, MessageKind::Character);
    EXPECT_EQ(seen[1].m.character, 'q');
    EXPECT_EQ(seen[3].m.button_flags, MOUSE_RIGHT | MOUSE_CONTROL);
    EXPECT_EQ(seen[5].m.button_flags, 0u);
    EXPECT_TRUE(p.key_down(GameKey::Q));
    EXPECT_FALSE(p.key_down(GameKey::Control));
}

TEST(InputScriptRun, FrameEventsWaitForPresentedFrames) {
    HeadlessPlatform p;
    install_input_script(p, parse_ok("f3 press left\n+f2 release left\n"));
    const std::array<uint8_t, 64000> blank{};
    Message m;
    for (int frame = 1; frame <= 6; ++frame) {
        p.present(blank.data());
        while (p.poll_message(m)) {
        }
        EXPECT_EQ(p.key_down(GameKey::Left), frame == 3 || frame == 4) << frame;
    }
}
