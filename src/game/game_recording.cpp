// The start state of a game's recording and the opening of that recording.
#include "game/game_recording.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "store/score_links.h"

namespace qvar {

namespace {

constexpr size_t START_STATE_SIZE = 4 * 3 + 4 * 2 + 4 + 4 * 4 + 1 + 5 + PROGRESS_ENTRIES + 1 + 8 + 2;

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t get32(const std::vector<uint8_t>& in, size_t& pos) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(in[pos++]) << (8 * i);
    return v;
}

uint32_t float_bits(float f) {
    uint32_t v = 0;
    std::memcpy(&v, &f, sizeof v);
    return v;
}

}  // namespace

std::vector<uint8_t> encode_game_start(const System& sys, const GameStart& start, const LevelProgress& progress) {
    std::vector<uint8_t> out;
    out.reserve(START_STATE_SIZE + sys.notice.text.size());
    for (uint32_t v : {sys.rng.s1, sys.rng.s2, sys.rng.lcg}) put32(out, v);
    put32(out, static_cast<uint32_t>(start.start_level));
    put32(out, static_cast<uint32_t>(start.ships));
    put32(out, float_bits(sys.gamma));
    const InputState& in = sys.input;
    for (int32_t v : {in.char_typed, in.mouse_x, in.mouse_y}) put32(out, static_cast<uint32_t>(v));
    put32(out, in.mouse_buttons);
    out.push_back(in.last_char);
    for (bool b : {in.timer_fired != 0, in.char_unseen, in.buttons_unseen, in.char_held_back, in.buttons_held_back})
        out.push_back(b ? 1 : 0);
    out.insert(out.end(), progress.ships.begin(), progress.ships.end());
    out.push_back(sys.notice.showing ? 1 : 0);
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(sys.notice.shown_since_ms >> (8 * i)));
    const size_t n = std::min<size_t>(sys.notice.text.size(), 0xFFFF);
    out.push_back(static_cast<uint8_t>(n & 0xFF));
    out.push_back(static_cast<uint8_t>(n >> 8));
    out.insert(out.end(), sys.notice.text.begin(), sys.notice.text.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

bool apply_game_start(const std::vector<uint8_t>& bytes, System& sys, GameStart& start, LevelProgress& progress) {
    if (bytes.size() < START_STATE_SIZE) return false;
    size_t pos = START_STATE_SIZE - 2;
    const size_t text_size = static_cast<size_t>(bytes[pos] | bytes[pos + 1] << 8);
    if (bytes.size() != START_STATE_SIZE + text_size) return false;
    pos = 0;
    Random rng;
    rng.s1 = get32(bytes, pos);
    rng.s2 = get32(bytes, pos);
    rng.lcg = get32(bytes, pos);
    GameStart s;
    s.start_level = static_cast<int32_t>(get32(bytes, pos));
    s.ships = static_cast<int32_t>(get32(bytes, pos));
    const uint32_t gamma_bits = get32(bytes, pos);
    float gamma = 1.0f;
    std::memcpy(&gamma, &gamma_bits, sizeof gamma);
    if (s.start_level < 0 || s.start_level > 100000 || s.ships < 1 || s.ships > 255 || !(gamma >= 0.1f && gamma <= 10.0f))
        return false;
    InputState in;
    in.char_typed = static_cast<int32_t>(get32(bytes, pos));
    in.mouse_x = static_cast<int32_t>(get32(bytes, pos));
    in.mouse_y = static_cast<int32_t>(get32(bytes, pos));
    in.mouse_buttons = get32(bytes, pos);
    in.last_char = bytes[pos++];
    in.timer_fired = bytes[pos++];
    in.char_unseen = bytes[pos++] != 0;
    in.buttons_unseen = bytes[pos++] != 0;
    in.char_held_back = bytes[pos++] != 0;
    in.buttons_held_back = bytes[pos++] != 0;
    std::memcpy(progress.ships.data(), bytes.data() + pos, PROGRESS_ENTRIES);
    pos += PROGRESS_ENTRIES;
    progress.paths = sys.paths;
    sys.notice = Notice{};
    sys.notice.showing = bytes[pos++] != 0;
    for (int i = 0; i < 8; ++i) sys.notice.shown_since_ms |= static_cast<uint64_t>(bytes[pos++]) << (8 * i);
    sys.notice.text.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos + 2), bytes.end());
    sys.rng = rng;
    sys.input = in;
    start = s;
    build_palette(sys, gamma);
    sys.gamma = gamma;
    return true;
}

void start_game_recording(System& sys, const GameStart& start, const LevelProgress& progress) {
    Recorder* r = sys.recorder;
    if (r == nullptr || r->replaying() || sys.paths.user_dir.empty()) return;
    r->game.close();
    const std::string folder = recordings_folder(sys.paths);
    if (!make_dirs(folder)) {
        std::fprintf(stderr, "qvar: cannot create %s; this game is not recorded\n", folder.c_str());
        return;
    }
    static uint32_t counter = 0;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch()).count();
    char name[80];
    std::snprintf(name, sizeof name, "game-%lld-%ld-%u%s", static_cast<long long>(seconds),
                  static_cast<long>(::getpid()), ++counter, RECORDING_SUFFIX);
    RecordingHeader header = r->base;
    header.kind = RecordingKind::Game;
    header.start_state = encode_game_start(sys, start, progress);
    std::string error;
    if (!r->game.open(folder + "/" + name, header, error))
        std::fprintf(stderr, "qvar: %s; this game is not recorded\n", error.c_str());
}

}  // namespace qvar
