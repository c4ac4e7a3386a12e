// Test fixtures: temporary folders and data files with valid layouts.
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gfx/data_files.h"
#include "gfx/data_layout.h"
#include "gfx/text.h"

namespace qvar::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "qvar-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    char* made = ::mkdtemp(buf.data());
    path_ = made != nullptr ? std::string(made) : std::string();
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void write_text(const std::string& path, const std::string& text) { write_bytes(path, {text.begin(), text.end()}); }

std::string read_text(const std::string& path) {
    const std::vector<uint8_t> bytes = read_bytes(path);
    return {bytes.begin(), bytes.end()};
}

RunResult run_built_game(const std::string& args) {
    RunResult ran;
    FILE* p = ::popen(("'" + std::string(QVAR_BUILD_DIR) + "/qvar' " + args + " 2>&1").c_str(), "r");
    if (p == nullptr) return ran;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) ran.output.append(buf, n);
    const int status = ::pclose(p);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

namespace {

void append_record(std::vector<uint8_t>& out, uint8_t w, uint8_t h, uint8_t colour) {
    out.push_back(w);
    out.push_back(h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) out.push_back((r + c) % 3 == 0 ? 255 : colour);
}

std::vector<uint8_t> font_bytes() {
    std::vector<uint8_t> out;
    for (int i = 0; i < GLYPH_COUNT; ++i) {
        uint8_t w = GLYPH_WIDTHS[static_cast<size_t>(i)];
        out.push_back(w);
        out.push_back(5);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < w; ++c) out.push_back(c == w - 1 && r > 0 ? GLYPH_SHADE : (r == 2 && w > 2 ? 255 : GLYPH_BODY));
    }
    return out;
}

std::vector<uint8_t> sprites_bytes() {
    std::vector<uint8_t> out;
    append_record(out, 16, 16, 15);  // ship
    append_record(out, 15, 7, 13);   // saucer
    append_record(out, 20, 15, 11);  // repeller
    append_record(out, 12, 12, 10);  // cell frames
    append_record(out, 12, 12, 2);
    append_record(out, 10, 10, 14);  // spinner
    append_record(out, 20, 15, 7);   // spare records
    append_record(out, 7, 5, 7);
    append_record(out, 12, 12, 15);  // pointer
    append_record(out, 10, 10, 12);  // tally marks
    append_record(out, 10, 10, 9);
    return out;
}

}  // namespace

void write_test_data_files(const std::string& dir) {
    write_bytes(dir + "/" + FONT_FILE, font_bytes());
    std::vector<uint8_t> digits;
    for (int d = 0; d < 10; ++d) append_record(digits, 10, 15, static_cast<uint8_t>(129 + 5 * d));
    write_bytes(dir + "/" + DIGITS_FILE, digits);
    write_bytes(dir + "/" + SPRITES_FILE, sprites_bytes());
    std::vector<uint8_t> icons;
    for (int i = 0; i < 13; ++i) append_record(icons, 10, 10, static_cast<uint8_t>(32 + i));
    write_bytes(dir + "/" + BONI_FILE, icons);
    std::string credits = "Test credits\rSecond line\r";
    std::vector<uint8_t> scrambled;
    for (size_t i = 0; i < credits.size(); ++i)
        scrambled.push_back(static_cast<uint8_t>(static_cast<uint8_t>(credits[i]) ^ static_cast<uint8_t>((i * i) % 255)));
    write_bytes(dir + "/" + CREDITS_FILE, scrambled);
}

TestRig::TestRig() : sys(std::make_unique<System>(platform)) {
    write_test_data_files(data_dir.path());
    sys->paths.data_dir = data_dir.path();
    sys->paths.user_dir = user_dir.path();
    std::string error;
    sys->display_open = platform.open_display(error);
    build_palette(*sys, 1.0f);
    EXPECT_TRUE(load_font(sys->paths, sys->font, error)) << error;
    EXPECT_TRUE(load_large_digits(sys->paths, sys->large_digits, error)) << error;
    sys->large_digits_swapped = swap_digit_colours(sys->large_digits);
}

}  // namespace qvar::test

// Helpers of the SDL backend's tests.
namespace qvar::test {

std::unique_ptr<Platform> open_sdl_dummy(const SdlOptions& options) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto p = make_sdl_platform(options);
    std::string error;
    return p->open_display(error) ? std::move(p) : nullptr;
}

void drop_messages(Platform& p) {
    for (Message m; p.poll_message(m);) {
    }
}

}  // namespace qvar::test
