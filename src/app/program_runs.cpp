// The set-up shared by windowed and headless runs, and the headless run's reporting.
#include "app/program_runs.h"

#include <cstdio>
#include <memory>

#include "app/data_search.h"
#include "app/main_cycle.h"
#include "app/recorded_runs.h"
#include "app/run_settings.h"
#include "model/system.h"
#include "platform/headless_platform.h"
#include "platform/input_script.h"
#include "util/files.h"
#include "util/message_text.h"

namespace qvar {

namespace {

int run_with_stats(System& sys, const CommandLine& options) {
    if (!options.stats) return game_main(sys);
    auto stats = std::make_unique<FrameStats>();  // its histograms are made once, here
    sys.stats = stats.get();
    const int status = game_main(sys);
    std::fputs(stats_report(*stats, process_cpu_seconds(), wall_seconds()).c_str(), stdout);
    std::fflush(stdout);
    return status;
}

// Plays `reader` on the prepared system: a whole run through the main cycle, or one game.
int play_recording(System& sys, RecordReader& reader, const CommandLine& options) {
    std::string why;
    if (!recording_fits(reader.header(), sys.recorder->base.data_hash, why)) {
        std::fprintf(stderr, "qvar: cannot play the recording: %s\n", why.c_str());
        return 1;
    }
    sys.recorder->playback = &reader;
    if (reader.header().kind == RecordingKind::Session) return run_with_stats(sys, options);
    std::string error;
    if (!sys.platform.open_display(error)) {
        fatal_error(sys, "Couldn't create a window");
        return 0;
    }
    sys.display_open = true;
    GameOutcome outcome;
    if (replay_game(sys, true, outcome, error)) return 0;
    std::fprintf(stderr, "qvar: cannot play the recording: %s\n", error.c_str());
    return 1;
}

}  // namespace

int run_program(Platform& platform, const CommandLine& options, RecordReader* playback) {
    auto sys = std::make_unique<System>(platform);  // large: keep it off the stack
    const DataSearchSources sources = current_data_search_sources(options.data_dir);
    const DataSearch search = find_data_dir(data_dir_candidates(sources));
    if (search.found.empty()) {
        fatal_error(*sys, missing_data_message(search));  // reported before any window opens
        return 1;
    }
    std::fputs(passed_over_note(sources, search).c_str(), stderr);
    sys->paths.data_dir = search.found;
    sys->paths.user_dir = options.user_dir.empty() ? default_user_dir() : options.user_dir;
    if (!make_dirs(sys->paths.user_dir))
        std::fprintf(stderr, "qvar: cannot create %s; settings and scores will not be kept\n",
                     printable(sys->paths.user_dir).c_str());
    sys->trace_path = options.trace_path;
    Recorder recorder;
    recorder.base = {RecordingKind::Session, QVAR_VERSION, data_files_hash(search.found), {}};
    sys->recorder = &recorder;
    sys->paths.tap = &recorder;
    RecordWriter session;
    std::string error;
    if (!options.record_path.empty() && playback == nullptr) {
        if (!session.open(options.record_path, recorder.base, error)) {
            std::fprintf(stderr, "qvar: %s\n", error.c_str());
            return 1;
        }
        recorder.session = &session;
    }
    if (playback == nullptr) return run_with_stats(*sys, options);
    const int status = play_recording(*sys, *playback, options);
    if (recorder.playback != nullptr) report_playback_end(recorder, sys->frames_presented);
    return status;
}

int run_windowed(Platform& platform, const CommandLine& options) {
    if (!options.plays_recording()) return run_program(platform, options);
    RecordReader reader;
    if (!load_playback(options, reader)) return 1;
    return run_program(platform, options, &reader);
}

int run_headless(const CommandLine& options) {
    auto owned = std::make_unique<HeadlessPlatform>();  // holds a whole frame: off the stack
    HeadlessPlatform& platform = *owned;
    InputScript script;
    std::string message;
    const ScriptLoad load =
        options.input_path.empty() ? ScriptLoad::Ok : load_input_script(options.input_path, script, message);
    if (load != ScriptLoad::Ok) {
        std::fputs(message.c_str(), stderr);
        if (load == ScriptLoad::Faulty) std::fputs("qvar: the input script has errors; nothing was run\n", stderr);
        return 2;
    }
    if (!options.plays_recording()) prepare_scripted_run(platform, script);
    platform.set_pause_on_focus_loss(load_run_settings(options, false).at_start.pause_on_focus_loss);
    std::shared_ptr<const FrameCaptureResult> capture;
    if (!options.frames_out.empty()) {
        if (!make_dirs(options.frames_out)) {
            std::fprintf(stderr, "qvar: cannot create the folder %s\n", printable(options.frames_out).c_str());
            return 2;
        }
        capture = attach_frame_capture(platform, options.frames_out, options.frames);
    }
    RecordReader reader;
    if (options.plays_recording() && !load_playback(options, reader)) return 1;
    int status = run_program(platform, options, options.plays_recording() ? &reader : nullptr);
    std::fprintf(stderr, "qvar: headless run ended after %llu frames and %llu ms of virtual time\n",
                 static_cast<unsigned long long>(platform.frames_presented()),
                 static_cast<unsigned long long>(platform.now_ms()));
    if (capture) {
        std::fprintf(stderr, "qvar: %llu frames written to %s\n", static_cast<unsigned long long>(capture->written),
                     printable(options.frames_out).c_str());
        if (capture->failed) {
            std::fprintf(stderr, "qvar: %s\n", capture->error.c_str());
            if (status == 0) status = 1;
        }
    }
    return status;
}

}  // namespace qvar
