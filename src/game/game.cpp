// One game: set-up, the frame loop until Q or the last ship, and release.
#include "game/game.h"

#include <memory>
#include <new>
#include <string>

#include "game/frame.h"
#include "game/setup.h"
#include "game/trace.h"

namespace qvar {

namespace {

// Set-up could not get its memory: the program ends without a message.
[[noreturn]] void out_of_memory(System& sys) {
    release_display(sys);
    sys.quit_requested = true;
    throw QuitRequested{};
}

}  // namespace

GameOutcome run_game(System& sys, const GameStart& start, LevelProgress& progress) {
    std::unique_ptr<Game> game;
    std::string error;
    bool ready = false;
    try {
        game.reset(new Game());
        ready = set_up_game(sys, *game, start, progress, error);
    } catch (const std::bad_alloc&) {
        out_of_memory(sys);
    }
    if (!ready) {
        fatal_error(sys, error);
        return {0, start.start_level, true};
    }
    GameTrace trace(sys.trace_path);
    sys.platform.set_input_mode(InputMode::Game);
    while (!game_should_end(sys, *game)) {
        run_frame(sys, *game);
        trace.write_frame(sys, *game);
    }
    return {game->player.score, game->player.level};
}

}  // namespace qvar
