// A virtual game controller for the backend's tests: SDL treats it as a real pad, so its
// buttons and stick go through the GameController API and the event queue as a pad's do.
#include "platform/sdl_backend.h"

namespace qvar {

namespace {

SDL_Joystick* test_pad = nullptr;
int test_pad_index = -1;

constexpr SDL_GameControllerButton SDL_BUTTONS[PAD_BUTTON_COUNT] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};

}  // namespace

bool sdl_attach_test_pad() {
    if (test_pad != nullptr) return true;
    // SDL passes a pad's events on only while a window of the program has the keyboard focus,
    // which the dummy video driver's window never has.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "QVAR test pad";
    test_pad_index = SDL_JoystickAttachVirtualEx(&desc);
    if (test_pad_index < 0) return false;
    test_pad = SDL_JoystickOpen(test_pad_index);
    return test_pad != nullptr;
}

// SDL compares a virtual pad with its last state only when it updates the joysticks; doing so
// at once queues every change as its own event, in order.
bool sdl_test_pad_button(PadButton button, bool down) {
    if (test_pad == nullptr || SDL_JoystickSetVirtualButton(test_pad, SDL_BUTTONS[static_cast<size_t>(button)], down ? 1 : 0) != 0)
        return false;
    SDL_JoystickUpdate();
    return true;
}

bool sdl_test_pad_axis(PadAxis axis, int16_t value) {
    const int sdl_axis = axis == PadAxis::LeftX ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY;
    if (test_pad == nullptr || SDL_JoystickSetVirtualAxis(test_pad, sdl_axis, value) != 0) return false;
    SDL_JoystickUpdate();
    return true;
}

void sdl_detach_test_pad() {
    if (test_pad == nullptr) return;
    SDL_JoystickClose(test_pad);
    SDL_JoystickDetachVirtual(test_pad_index);
    test_pad = nullptr;
    test_pad_index = -1;
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace qvar
