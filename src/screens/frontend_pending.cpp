// Screens whose issue has not landed yet: they return to the menu at once.
#include "screens/screens.h"

namespace qvar {

void show_high_scores(System&) {}
void show_options(System&) {}
void show_instructions(System&) {}
void show_credits(System&) {}
void run_game_over(System&, int32_t, int32_t) {}

}  // namespace qvar
