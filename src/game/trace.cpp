// Writing the per-frame trace without allocating: one fixed buffer, snprintf and fwrite.
#include "game/trace.h"

#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdarg>
#include <set>

#include "util/files.h"
#include "util/message_text.h"

namespace qvar {

namespace {

// Appends formatted text to a fixed buffer; remembers when it ran out of room.
struct LineBuilder {
    char* out;
    size_t capacity;
    size_t used = 0;
    bool overflow = false;

    void add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        if (overflow) return;
        va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(out + used, capacity - used, format, args);
        va_end(args);
        if (n < 0 || static_cast<size_t>(n) >= capacity - used) {
            overflow = true;
            return;
        }
        used += static_cast<size_t>(n);
    }
    void add_int(const char* name, int64_t v) { add(",\"%s\":%" PRId64, name, v); }
    void add_real(const char* name, float v) {
        if (std::isfinite(v))
            add(",\"%s\":%.9g", name, static_cast<double>(v));
        else
            add(",\"%s\":null", name);
    }
};

void add_player(LineBuilder& b, const Player& p) {
    b.add_int("level", p.level);
    b.add_int("score", p.score);
    b.add_int("shown_score", p.shown_score);
    b.add_int("ships", p.ships);
    b.add_int("weapon", p.weapon);
    b.add_int("flame_count", p.flame_count);
    b.add_int("plasma_count", p.plasma_count);
    b.add_int("whitehot_timer", p.whitehot_timer);
    b.add_int("bullets", p.bullets);
    b.add_int("spread", p.spread);
    b.add_int("stream", p.stream);
    b.add_int("surround", p.surround);
    b.add_int("attract", p.attract);
    b.add_int("retro", p.retro);
    b.add_real("shot_speed", p.shot_speed);
    b.add_real("ship_x", p.ship_x);
    b.add_real("ship_y", p.ship_y);
    b.add_real("ship_vx", p.ship_vx);
    b.add_real("ship_vy", p.ship_vy);
    b.add_real("ship_angle", p.ship_angle);
    b.add_int("death_timer", p.death_timer);
    b.add_int("invincible", p.invincible);
}

void add_pools(LineBuilder& b, const System& sys, const Game& game) {
    b.add_int("sparks", sys.sparks.count);
    b.add_int("shots", game.shots.count);
    b.add_int("debris", game.debris.count);
    b.add_int("foes", game.foes.count);
    b.add_int("boni", game.boni.count);
    b.add_int("hit_pairs", game.hits.count);
    std::array<int32_t, FOE_KIND_COUNT> kinds{};
    for (int32_t i = 0; i < game.foes.count && i < FOE_CAPACITY; ++i) {
        const int32_t kind = game.foes.kind[static_cast<size_t>(i)];
        if (kind >= 1 && kind <= FOE_KIND_COUNT) ++kinds[static_cast<size_t>(kind - 1)];
    }
    b.add(",\"foe_kinds\":[");
    for (int32_t k = 0; k < FOE_KIND_COUNT; ++k) b.add(k == 0 ? "%d" : ",%d", kinds[static_cast<size_t>(k)]);
    b.add("]");
}

// The paths whose files this process has already started afresh. A set, not the last one:
// the page runs headless games (dropped scripts, recordings) beside its own game, each to a
// trace of its own, and its own game's next trace must still be appended to.
std::set<std::string>& started_paths() {
    static std::set<std::string> paths;
    return paths;
}

}  // namespace

size_t format_trace_line(char* out, size_t capacity, const System& sys, const Game& game) {
    if (capacity == 0) return 0;
    LineBuilder b{out, capacity};
    b.add("{\"frame\":%" PRIu64, game.frame_number);
    add_player(b, game.player);
    add_pools(b, sys, game);
    b.add("}\n");
    if (b.overflow) {
        out[0] = '\0';
        return 0;
    }
    return b.used;
}

GameTrace::GameTrace(const std::string& path) : path_(path) {
    if (path.empty()) return;
    const bool fresh = started_paths().count(path) == 0;
    file_ = std::fopen(path.c_str(), fresh ? "wb" : "ab");
    if (file_ != nullptr)
        started_paths().insert(path);
    else
        fail(errno);
}

GameTrace::~GameTrace() {
    if (file_ != nullptr && std::fclose(file_) != 0) {
        file_ = nullptr;
        fail(errno);
    }
}

void GameTrace::fail(int error_number) {
    std::fprintf(stderr, "qvar: cannot write the trace to %s: %s; the game goes on without it\n",
                 printable(path_).c_str(), error_words(error_number).c_str());
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

void GameTrace::write_frame(const System& sys, const Game& game) {
    if (file_ == nullptr) return;
    const size_t n = format_trace_line(line_.data(), line_.size(), sys, game);
    // Writes are buffered: a full disk may show only at a later write or at the close.
    if (n != 0 && (std::fwrite(line_.data(), 1, n, file_) != n || std::ferror(file_) != 0)) fail(errno);
}

}  // namespace qvar
