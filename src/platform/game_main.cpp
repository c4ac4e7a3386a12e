// The program's main cycle (start-up and menu pending).
#include "platform/game_main.h"

namespace qvar {

int game_main(System&) { return 0; }

}  // namespace qvar
