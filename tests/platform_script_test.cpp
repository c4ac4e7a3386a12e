// Input scripts and headless runs: what parses, what is refused (with line numbers), when
// events fire, how a finished script ends every kind of loop, and byte-for-byte repeats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input_script.h"
#include "test_support.h"

using namespace qvar;

namespace {

InputScript parse_ok(const std::string& text) {
    InputScript script;
    std::vector<ScriptError> errors;
    EXPECT_TRUE(parse_input_script(text, script, errors)) << (errors.empty() ? "" : errors[0].message);
    return script;
}

// An event as its script line would say it: "L4 2500 press 2", "L7 +f10 type #", ...
std::string show(const ScriptEvent& e) {
    static const char* const when[] = {"", "+", "f", "+f"};
    static const char* const op[] = {"press", "release", "type", "text", "move", "down", "up", "click", "quit", "lost", "gained"};
    std::string s = "L" + std::to_string(e.line) + " " + when[int(e.when)] + std::to_string(e.at) + " " + op[int(e.op)];
    if (e.op == ScriptOp::Press || e.op == ScriptOp::Release) s += " " + std::to_string(int(e.key));
    if (e.op == ScriptOp::ButtonDown || e.op == ScriptOp::ButtonUp || e.op == ScriptOp::Click) s += " b" + std::to_string(e.button);
    if (e.has_position) s += " " + std::to_string(e.x) + "," + std::to_string(e.y);
    return e.text.empty() ? s : s + " " + e.text;
}

// Every message the platform delivers until `until` ms of virtual time, as "TIME KIND[VALUE]".
std::vector<std::string> drain(HeadlessPlatform& p, uint64_t until) {
    std::vector<std::string> seen;
    for (Message m;; p.wait_message(uint32_t(until - p.now_ms()))) {
        while (p.poll_message(m)) {
            seen.push_back(std::to_string(p.now_ms()) + " " + "CTMBDQO"[int(m.kind)]);
            if (m.kind == MessageKind::Character) seen.back() += char(m.character);
            if (m.kind == MessageKind::MouseButton) seen.back() += std::to_string(m.button_flags);
        }
        if (p.now_ms() >= until) return seen;
    }
}

// A stand-in for a game screen: presents, pumps once and delays, until Q is held or the quit
// arrives.
void toy_loop(System& sys, uint32_t delay) {
    try {
        while (!sys.platform.key_down(GameKey::Q)) {
            present_frame(sys);
            pump_or_quit(sys);
            if (delay != 0) delay_ms(sys, delay);
        }
    } catch (const QuitRequested&) {
    }
}

}  // namespace

TEST(InputScriptParse, EveryFormOfTimeActionAndDirective) {
    InputScript s = parse_ok("# a comment\r\n\n   idle-quit 5s\n2500 press space\n+400ms release SPACE\n"
                             "f120 type enter\n+f10 type \"#\"   # a comment after the event\n"
                             "3s text \"  Ace # 1 \"\n+0 text hello world # greeting\n10 move 319 199\n"
                             "11 button-down right\n12 button-up left\n13 click\n14 click right 5 6\n15 click 7 8\n16\tquit\n"
                             "+f1 focus-lost\n+0 FOCUS-GAINED\n");
    EXPECT_EQ(s.idle_quit_ms, 5000u);
    std::vector<std::string> got;
    for (const ScriptEvent& e : s.events) got.push_back(show(e));
    EXPECT_EQ(got, (std::vector<std::string>{
                       "L4 2500 press 0", "L5 +400 release 0", "L6 f120 type \r", "L7 +f10 type #",
                       "L8 3000 text   Ace # 1 ", "L9 +0 text hello world", "L10 10 move 319,199", "L11 11 down b2",
                       "L12 12 up b1", "L13 13 click b1", "L14 14 click b2 5,6", "L15 15 click b1 7,8", "L16 16 quit",
                       "L17 +f1 lost", "L18 +0 gained"}));
    EXPECT_TRUE(parse_ok("").events.empty());
}

// Each faulty line is told with its number and a message naming the word at fault, escaped and
// cut; a zero byte ends nothing; past 50 faulty lines the rest are counted in a last line.
TEST(InputScriptParse, EveryFaultyLineIsToldWithItsNumberAndTheWordAtFault) {
    const std::pair<std::string, std::string> faulty[] = {
        {"soon press space", "expected a time (2500, +400, 3s) or a frame (f120, +f10), found 'soon'"},
        {"100 press shift", "unknown key 'shift': expected space, ctrl, left, up, right, down, p or q"},
        {"100 type ab", "cannot type 'ab': expected one printable character, or enter, backspace, escape, space or hash"},
        {"100 type # hash",  // the '#' starts a comment
         "cannot type '': expected one printable character, or enter, backspace, escape, space or hash"},
        {"100 move 320 10", "expected a position X Y with X in 0..319 and Y in 0..199, found '320 10'"},
        {"5 move 9 x", "expected a position X Y with X in 0..319 and Y in 0..199, found '9 x'"},
        {"100 click middle", "click takes left or right, then an optional position, not 'middle'"},
        {"4 button-up up", "unknown button 'up': expected left or right"},
        {"100 jump", "unknown action 'jump'"},
        {"100", "an event needs an action after its time"},
        {"99999999999 quit", "expected a time (2500, +400, 3s) or a frame (f120, +f10), found '99999999999'"},
        {"-5 quit", "expected a time (2500, +400, 3s) or a frame (f120, +f10), found '-5'"},
        {"f quit", "expected a time (2500, +400, 3s) or a frame (f120, +f10), found 'f'"},
        {"7 quit " + std::string(200, 'z'), "unexpected '" + std::string(80, 'z') + "...' at the end of the line"},
        {"idle-quit soon", "idle-quit takes one time in ms (0: never), not 'soon'"},
        {"idle-quit 5 6", "idle-quit takes one time in ms (0: never), not '6'"},
        {"100 text", "text needs 1 to 1000 characters"},
        {std::string("2 type \0", 8), "control or non-ASCII byte \\x00 in the line"},  // and the text goes on
        {"100 text caf\xc3\xa9", "control or non-ASCII byte \\xc3 in the line"},
        {"9 type \x1b[2J", "control or non-ASCII byte \\e in the line"},
    };
    std::string text = "100 press space\n";
    for (const auto& [line, told] : faulty) text += line + "\n";
    InputScript script;
    std::vector<ScriptError> e;
    EXPECT_FALSE(parse_input_script(text, script, e));
    ASSERT_EQ(e.size(), std::size(faulty));
    for (size_t i = 0; i < e.size(); ++i) {
        EXPECT_EQ(e[i].line, int(i) + 2);
        EXPECT_EQ(e[i].message, faulty[i].second) << faulty[i].first;
    }
    std::string many;
    for (int i = 0; i < 57; ++i) many += "1 jump\n";
    EXPECT_FALSE(parse_input_script(many, script, e));
    ASSERT_EQ(e.size(), MAX_SCRIPT_ERRORS + 1);
    EXPECT_EQ(e[49].line, 50);
    EXPECT_EQ(e[50].line, 0);
    EXPECT_EQ(e[50].message, "and 7 more faulty lines not listed");
}

TEST(InputScriptRun, EventsFireAtTheirTimeOrAfterTheEventAbove) {
    HeadlessPlatform p;
    install_input_script(p, parse_ok("100 type a\n+50 click left 10 20\n+0 text xy\n+0 press q\n+0 press ctrl\n"
                                     "+0 button-down right\n+10 release ctrl\n+0 button-up right\n1000 quit\n"));
    // the click starts 50 ms after the release of 'a'; each text character is held 30 ms,
    // 60 ms apart; Ctrl rides on the button flags.
    EXPECT_EQ(drain(p, 2000), (std::vector<std::string>{
                                  "100 O", "100 Ca", "130 O", "180 M", "180 B1", "220 B0", "220 O", "220 Cx", "250 O",
                                  "280 O", "280 Cy", "310 O", "310 O", "310 Cq", "310 O", "310 B10", "320 O", "320 B0",
                                  "1000 Q"}));
    EXPECT_TRUE(p.key_down(GameKey::Q));
    EXPECT_TRUE(p.key_down(GameKey::Control) && !p.key_held(GameKey::Control));  // a tap no frame has seen
    p.at_time(3000, [](HeadlessPlatform& q) { q.type_char('k'); });
    uint64_t polls = 0;  // a loop that only polls still sees time pass
    for (Message m; !p.poll_message(m) && ++polls < 1000000;) {
    }
    EXPECT_EQ(p.now_ms(), 3000u);
}

TEST(HeadlessWaits, AFinishedScriptEndsEveryKindOfLoopAfterTheIdleTime) {
    struct Case { const char* script; int delay; uint64_t end_ms, slack_ms; bool quits; };  // delay -1: a key wait
    const Case cases[] = {
        {"100 press space\n", 10, 100 + DEFAULT_IDLE_QUIT_MS, 20, true},  // a game-like loop, the timer ticking
        {"idle-quit 2000\n", 0, 2000, 0, true},  // a menu-like loop: each presented frame costs 1 ms
        {"idle-quit 3s\nf10 press q\n", -1, 3000, 0, true},  // f10 cannot come, yet the wait ends
        {"idle-quit 100\nf300 press left\n+f200 press q\n", 0, 500, 0, false},  // pending frame events keep it alive
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        test::TestRig run;
        prepare_scripted_run(run.platform, parse_ok(c.script));
        if (c.delay > 0) calibrate_delay(*run.sys);
        if (c.delay < 0) EXPECT_THROW(wait_press(*run.sys), QuitRequested);
        else toy_loop(*run.sys, uint32_t(c.delay));
        EXPECT_EQ(run.sys->quit_requested, c.quits);
        EXPECT_GE(run.platform.now_ms(), c.end_ms);
        EXPECT_LE(run.platform.now_ms(), c.end_ms + c.slack_ms);
    }
}

// A script too large to read is refused (never cut), and a file name is escaped in messages;
// a missing script: CommandLine.AnUnreadableScriptEnds...
TEST(InputScriptLoad, AnOversizedScriptIsUnreadableAndAFaultyOneNamesItsFileEscaped) {
    test::TempDir dir;
    test::write_bytes(dir.file("huge"), std::vector<uint8_t>(MAX_SCRIPT_BYTES + 1, '\n'));
    test::write_bytes(dir.file("bad\nname"), {'x', '\n'});
    InputScript script;
    std::string message;
    EXPECT_EQ(load_input_script(dir.file("huge"), script, message), ScriptLoad::Unreadable);
    EXPECT_EQ(message, dir.file("huge") + ": cannot read the input script: is larger than 1048576 bytes\n");
    EXPECT_EQ(load_input_script(dir.file("bad\nname"), script, message), ScriptLoad::Faulty);
    EXPECT_EQ(message, dir.path() + "/bad\\nname:1: expected a time (2500, +400, 3s) or a frame (f120, +f10), found 'x'\n");
}

// A time event and a frame event that come due at the same present run in line order,
// whichever line comes first (the frames start-up presents before its first pump: Startup).
TEST(InputScriptRun, TwoEventsDueTogetherAreDeliveredInLineOrder) {
    for (const bool time_first : {true, false}) {
        HeadlessPlatform p;
        install_input_script(p, parse_ok(time_first ? "5 move 1 1\nf1 move 2 2\n" : "f1 move 2 2\n5 move 1 1\n"));
        p.wait_message_us(10000);  // a delay passes time 5 without a pump
        p.present(FrameBuffer{}.pixels.data());
        std::vector<int> xs;
        for (Message m; p.poll_message(m);) xs.push_back(m.x);
        EXPECT_EQ(xs, (time_first ? std::vector<int>{1, 2} : std::vector<int>{2, 1}));
    }
}
