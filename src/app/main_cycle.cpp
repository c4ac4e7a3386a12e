// The program's main cycle: start-up once, then menu, game and game over until Exit or quit.
#include "app/main_cycle.h"

#include <new>

#include "game/game.h"
#include "game/game_recording.h"
#include "app/startup.h"
#include "screens/main_menu.h"
#include "screens/screens.h"
#include "store/score_links.h"

namespace qvar {

namespace {

// Menu, game, game over (with the high-score table), round and round. The progress table is
// read at each menu entry and stays with the game that follows, which records new tenth
// levels in it.
int main_cycle(System& sys) {
    LevelProgress progress;
    for (;;) {
        const MenuResult menu = run_main_menu(sys, progress);
        if (menu.outcome == MenuOutcome::Failed) return 1;
        if (menu.outcome == MenuOutcome::Exit) {
            release_display(sys);
            return 0;
        }
        start_game_recording(sys, menu.start, progress);
        const GameOutcome game = run_game(sys, menu.start, progress);
        if (game.failed) {  // a data file went missing: reported, like a failed start-up
            if (sys.recorder != nullptr) discard_game_recording(*sys.recorder);
            return 1;
        }
        run_game_over(sys, game.score, game.level);
    }
}

}  // namespace

int game_main(System& sys) {
    try {
        int status = 0;
        if (!run_startup(sys, status)) return status;
        return main_cycle(sys);
    } catch (const QuitRequested&) {
        release_display(sys);  // nothing is saved on the way out
        if (sys.recorder != nullptr) discard_game_recording(*sys.recorder);
        return 0;
    } catch (const std::bad_alloc&) {
        release_display(sys);  // out of memory ends the program quietly
        return 0;
    }
}

}  // namespace qvar
