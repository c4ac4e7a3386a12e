// Recorded runs: the checks a recording must pass, single-game replays, timedemo and the
// verification of the high-score table.
#include "app/recorded_runs.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "app/data_search.h"
#include "app/program_runs.h"
#include "game/game_recording.h"
#include "gfx/data_files.h"
#include "platform/headless_platform.h"
#include "screens/screens.h"
#include "store/score_links.h"
#include "util/message_text.h"

namespace qvar {

uint64_t data_files_hash(const std::string& data_dir) {
    uint64_t hash = FNV_START;
    for (const char* name : {"lets.dat", "nums.dat", "qvar.dat", "boni.dat", "c2.dat"}) {
        const FileRead read = read_file(data_dir + "/" + name, 16u << 20, Oversize::Cut);
        const std::string label = std::string(name) + ":" + std::to_string(read.bytes.size()) + ":";
        hash = fnv1a(hash, reinterpret_cast<const uint8_t*>(label.data()), label.size());
        hash = fnv1a(hash, read.bytes.data(), read.bytes.size());
    }
    return hash;
}

bool recording_fits(const RecordingHeader& header, uint64_t data_hash, std::string& why) {
    if (header.program_version != QVAR_VERSION)
        why = "recorded by qvar " + printable(header.program_version) + ", this is qvar " + QVAR_VERSION;
    else if (header.data_hash != data_hash)
        why = "recorded with other game data than the data in use";
    else
        return true;
    return false;
}

bool replay_game(System& sys, bool through_game_over, GameOutcome& outcome, std::string& error) {
    GameStart start;
    LevelProgress progress;
    if (!apply_game_start(sys.recorder->playback->header().start_state, sys, start, progress)) {
        error = "the recording's start state is damaged";
        return false;
    }
    if (!load_font(sys.paths, sys.font, error) || !load_large_digits(sys.paths, sys.large_digits, error)) return false;
    sys.large_digits_swapped = swap_digit_colours(sys.large_digits);
    try {
        outcome = run_game(sys, start, progress);
        if (outcome.failed) return false;
        if (through_game_over) run_game_over(sys, outcome.score, outcome.level);
    } catch (const QuitRequested&) {
        outcome.failed = !through_game_over;  // the recording ended before the game did
    }
    release_display(sys);
    return true;
}

bool load_playback(const CommandLine& options, RecordReader& reader) {
    std::string path = options.playback_path;
    std::string error;
    if (options.playback_score != 0) {
        Paths paths;
        paths.user_dir = options.user_dir.empty() ? default_user_dir() : options.user_dir;
        const HighScoreTable table = read_high_scores(paths);
        path = recordings_by_place(paths, table, read_score_links(paths))[static_cast<size_t>(options.playback_score - 1)];
        if (path.empty()) {
            std::fprintf(stderr, "qvar: place %d of the high scores has no recording\n", options.playback_score);
            return false;
        }
    }
    if (!options.timedemo_path.empty()) path = options.timedemo_path;
    if (reader.load(path, error)) return true;
    std::fprintf(stderr, "qvar: %s\n", error.c_str());
    return false;
}

void report_playback_end(const Recorder& recorder, uint64_t frames) {
    const RecordReader& reader = *recorder.playback;
    const std::string& path = reader.path();
    const unsigned long long n = frames;
    if (recorder.window_closed && !reader.complete())
        std::fprintf(stderr, "qvar: the playback of %s was stopped after frame %llu: the window was closed\n",
                     printable(path).c_str(), n);
    if (reader.complete() || recorder.window_closed) return;
    if (reader.broken() || !recorder.playback_over)
        std::fprintf(stderr, "qvar: the recording %s is damaged or does not fit this run after frame %llu; playback stopped\n",
                     printable(path).c_str(), n);
    else
        std::fprintf(stderr, "qvar: the recording %s was cut short; it was played to its end (%llu frames)\n",
                     printable(path).c_str(), n);
}

int run_timedemo(const CommandLine& options) {
    auto platform = std::make_unique<HeadlessPlatform>();
    RecordReader reader;
    if (!load_playback(options, reader)) return 1;
    const auto start = std::chrono::steady_clock::now();
    const int status = run_program(*platform, options, &reader);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const uint64_t frames = platform->frames_presented();
    std::printf("timedemo: %llu frames in %.3f seconds: %.0f frames per second\n",
                static_cast<unsigned long long>(frames), seconds, seconds > 0 ? static_cast<double>(frames) / seconds : 0.0);
    return status;
}

namespace {

// Replays one entry's recording headless; the score reached, or an explanation.
bool replay_entry(const std::string& path, const Paths& paths, uint64_t data_hash, int32_t& score, std::string& why) {
    RecordReader reader;
    if (!reader.load(path, why)) return false;
    if (reader.header().kind != RecordingKind::Game) {
        why = "not the recording of a single game";
        return false;
    }
    if (!recording_fits(reader.header(), data_hash, why)) return false;
    auto platform = std::make_unique<HeadlessPlatform>();
    auto sys = std::make_unique<System>(*platform);
    Recorder recorder;
    recorder.playback = &reader;
    sys->recorder = &recorder;
    sys->paths = paths;
    sys->paths.tap = &recorder;
    std::string error;
    if (!platform->open_display(error)) return false;
    sys->display_open = true;
    GameOutcome outcome;
    if (!replay_game(*sys, false, outcome, why)) return false;
    if (outcome.failed) {
        why = "the recording ends before the game does";
        return false;
    }
    score = outcome.score;
    return true;
}

}  // namespace

int verify_scores(const CommandLine& options) {
    const DataSearchSources sources = current_data_search_sources(options.data_dir);
    const DataSearch search = find_data_dir(data_dir_candidates(sources));
    if (search.found.empty()) {
        std::fprintf(stderr, "Oh sod it: %s\n", missing_data_message(search).c_str());
        return 1;
    }
    Paths paths;
    paths.data_dir = search.found;
    paths.user_dir = options.user_dir.empty() ? default_user_dir() : options.user_dir;
    const HighScoreTable table = read_high_scores(paths);
    const auto files = recordings_by_place(paths, table, read_score_links(paths));
    const uint64_t hash = data_files_hash(paths.data_dir);
    bool any_differs = false;
    for (size_t p = 0; p < files.size(); ++p) {
        const std::string name = printable(name_text(table.names[p]));
        std::string result = "no recording", reached = "-", why;
        int32_t score = 0;
        if (!files[p].empty() && !read_file(files[p], 0, Oversize::Cut).ok()) {
            result = "no recording (" + printable(files[p]) + " is missing)";
        } else if (!files[p].empty()) {
            const bool replayed = replay_entry(files[p], paths, hash, score, why);
            if (replayed) reached = std::to_string(score);
            result = replayed && score == table.scores[p] ? "verified" : "differs";
            if (!replayed) result += " (" + why + ")";
            any_differs = any_differs || result != "verified";
        }
        std::printf("%2zu. %-24s %10d %10s  %s\n", p + 1, name.c_str(), table.scores[p], reached.c_str(), result.c_str());
    }
    return any_differs ? 1 : 0;
}

}  // namespace qvar
