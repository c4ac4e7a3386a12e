// Fuzz target for input scripts: the parser on any bytes, then a script that parses run
// through the headless scheduler by a small frame loop, on virtual time.
#include <memory>
#include <string_view>

#include "fuzz_support.h"
#include "gfx/draw.h"
#include "platform/input_script.h"

namespace qvar::fuzz {

namespace {

// Presents, pumps and waits like a game screen, for at most `frames` frames or until the quit.
void run_frames(System& sys, int32_t frames) {
    try {
        for (int32_t f = 0; f < frames && !sys.platform.key_down(GameKey::Q); ++f) {
            fill_rect(sys.frame, static_cast<uint32_t>(sys.input.mouse_x), static_cast<uint32_t>(sys.input.mouse_y), 4,
                      4, sys.input.last_char);
            present_frame(sys);
            pump_or_quit(sys);
            delay_ms(sys, 10);
        }
    } catch (const QuitRequested&) {
    }
}

}  // namespace

int fuzz_script(const uint8_t* data, size_t size) {
    if (size > MAX_SCRIPT_BYTES) return 0;  // longer files are refused before parsing
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    InputScript script;
    std::vector<ScriptError> errors;
    const bool ok = parse_input_script(text, script, errors);
    require(ok == errors.empty() && errors.size() <= MAX_SCRIPT_ERRORS + 1, "errors are listed exactly when faulty");
    for (const ScriptError& e : errors)
        for (char c : e.message) require(c >= 32 && c < 127, "messages are printable one-liners");
    if (!ok) return 0;
    HeadlessPlatform platform;
    auto sys = std::make_unique<System>(platform);
    std::string error;
    sys->display_open = platform.open_display(error);
    prepare_scripted_run(platform, script);
    run_frames(*sys, 150);
    return 0;
}

}  // namespace qvar::fuzz
