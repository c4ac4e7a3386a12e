// Foe sprites drawn at an offset from the foe's real position, wrapped round the field.
#include "world/world_internal.h"

namespace qvar::world {

void draw_sprite_at(FrameBuffer& fb, float x, float y, float a, float b, const Sprite& sprite) {
    blit_sprite_wrapped(fb, trunc_i32(x - a), trunc_i32(y - b), sprite);
}

}  // namespace qvar::world
