// The game frame in its fixed order: later steps draw over earlier ones and see the marks
// earlier steps of the same frame left.
#include "game/frame.h"

#include "player/boni.h"
#include "player/hud.h"
#include "player/levels.h"
#include "player/pause.h"
#include "player/ship.h"
#include "player/shots.h"
#include "player/sparks.h"
#include "player/weapons.h"
#include "world/world.h"

namespace qvar {

bool game_should_end(System& sys, const Game& game) {
    return key_down(sys, GameKey::Q) || game.player.ships == 0;
}

namespace {

// Steps 2..7: the player's controls, read in step order, then the display's first half.
void player_steps(System& sys, Game& game) {
    fire_step(game, key_down(sys, GameKey::Space));
    select_weapon(game.player, key_down(sys, GameKey::Control));
    const bool left = key_down(sys, GameKey::Left);
    const bool right = key_down(sys, GameKey::Right);
    turn_ship(game.player, left, right);
    thrust_ship(sys, game, key_down(sys, GameKey::Up));
    retro_thrust_ship(sys, game, key_down(sys, GameKey::Down));
    move_ship(game.player);
    hud_first_half(sys, game);
}

// Steps 8..15: sparks, the world's steps, boni and shots.
void field_steps(System& sys, Game& game) {
    spark_step(sys.sparks, sys.frame);
    prepare_foe_pass(game);
    foe_step(sys, game);
    apply_hit_pairs(game);
    destroy_step(sys, game);
    debris_step(sys, game);
    boni_step(sys, game);
    shot_step(sys, game);
}

}  // namespace

void simulate_frame(System& sys, Game& game) {
    player_steps(sys, game);
    field_steps(sys, game);
    ship_end_of_frame(sys, game);
    level_end_step(sys, game);
    hud_second_half(sys, game);
}

void run_frame(System& sys, Game& game) {
    ++game.frame_number;
    pump_or_quit(sys);
    simulate_frame(sys, game);
    if (key_down(sys, GameKey::P)) pause_step(sys);
    draw_notice(sys);
    present_frame(sys);
    delay_ms(sys, FRAME_DELAY_MS);
}

}  // namespace qvar
