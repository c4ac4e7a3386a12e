// Building a game in its fixed order; the order of the random draws is part of the game.
#include "game/setup.h"

#include "game/game_sprites.h"
#include "player/sparks.h"

namespace qvar {

Player starting_player(const GameStart& start) {
    Player p;
    p.ships = start.ships;
    p.level = start.start_level;
    return p;
}

void empty_game_pools(Game& game) {
    game.shots.count = 0;
    game.shots.spent.clear_all();
    game.debris.count = 0;
    game.foes.count = 0;
    game.foes.dead.clear_all();
    game.foes.flamed.clear_all();
    game.foes.plasma.clear_all();
    game.foes.whitehot.clear_all();
    game.boni.count = 0;
    game.hits.count = 0;
}

bool set_up_game(System& sys, Game& game, const GameStart& start, LevelProgress& progress, std::string& error) {
    if (!load_game_sprites(sys.paths, game.sprites, error)) return false;
    build_block_sprites(game.sprites);
    build_rock_sprites(game.sprites, sys.rng);
    set_builtin_sprites(game.sprites);
    empty_game_pools(game);
    start_burst(sys.sparks, sys.rng);
    game.player = starting_player(start);
    game.progress = &progress;
    game.frame_number = 0;
    return true;
}

}  // namespace qvar
