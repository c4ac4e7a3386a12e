// Game controllers through SDL's GameController API: plugged in and pulled out at any time,
// every pad's buttons and stick merged into one PadInput.
#include <sys/stat.h>

#include <cstdio>

#include "platform/sdl_backend.h"

namespace qvar {

namespace {

struct ButtonMap {
    SDL_GameControllerButton sdl;
    PadButton pad;
};
constexpr ButtonMap BUTTONS[] = {
    {SDL_CONTROLLER_BUTTON_A, PadButton::A},
    {SDL_CONTROLLER_BUTTON_B, PadButton::B},
    {SDL_CONTROLLER_BUTTON_X, PadButton::X},
    {SDL_CONTROLLER_BUTTON_Y, PadButton::Y},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
    {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadButton::LeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadButton::RightShoulder},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::Up},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::Down},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::Left},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::Right},
};

int pad_button_of(uint8_t sdl_button) {
    for (const ButtonMap& b : BUTTONS)
        if (b.sdl == sdl_button) return static_cast<int>(b.pad);
    return -1;
}

}  // namespace

void SdlPads::start(const std::string& mappings_path) {
    if (started_) return;
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started_) return;
    // SDL's own database knows most pads; the player's file adds unusual ones. Pads already
    // plugged in are announced as added devices at the next poll.
    struct stat st {};
    if (!mappings_path.empty() && ::stat(mappings_path.c_str(), &st) == 0 &&
        SDL_GameControllerAddMappingsFromFile(mappings_path.c_str()) < 0)
        std::fprintf(stderr, "qvar: %s: %s\n", mappings_path.c_str(), SDL_GetError());
}

void SdlPads::stop() {
    for (Slot& slot : slots_)
        if (slot.controller != nullptr) SDL_GameControllerClose(slot.controller);
    slots_ = {};
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started_ = false;
}

bool SdlPads::connected() const {
    for (const Slot& slot : slots_)
        if (slot.controller != nullptr) return true;
    return false;
}

SdlPads::Slot* SdlPads::slot_of(SDL_JoystickID id) {
    for (Slot& slot : slots_)
        if (slot.controller != nullptr && slot.id == id) return &slot;
    return nullptr;
}

void SdlPads::add(int device_index, PadInput& pad, uint64_t now_ms) {
    SDL_GameController* controller = SDL_GameControllerOpen(device_index);
    if (controller == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (slot_of(id) != nullptr) {  // announced twice: opened once already
        SDL_GameControllerClose(controller);
        return;
    }
    for (Slot& slot : slots_)
        if (slot.controller == nullptr) {
            slot = Slot{id, controller, 0};
            take_state(slot, pad, now_ms);
            return;
        }
    SDL_GameControllerClose(controller);  // more pads than slots: the extra one is not used
}

// A pad plugged in with a button or the stick already held counts from the start: SDL
// reports only later changes.
void SdlPads::take_state(Slot& slot, PadInput& pad, uint64_t now_ms) const {
    for (const ButtonMap& b : BUTTONS)
        if (SDL_GameControllerGetButton(slot.controller, b.sdl) != 0)
            slot.held = static_cast<uint16_t>(slot.held | (1u << static_cast<unsigned>(b.pad)));
    merge_buttons(pad, now_ms);
    pad_axis(pad, PadAxis::LeftX, SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_LEFTX), now_ms);
    pad_axis(pad, PadAxis::LeftY, SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_LEFTY), now_ms);
}

// Gives PadInput the buttons held on any pad, as edges.
void SdlPads::merge_buttons(PadInput& pad, uint64_t now_ms) const {
    uint16_t any = 0;
    for (const Slot& slot : slots_) any = static_cast<uint16_t>(any | slot.held);
    for (int b = 0; b < PAD_BUTTON_COUNT; ++b)
        pad_button(pad, static_cast<PadButton>(b), (any & (1u << b)) != 0, now_ms);
}

bool SdlPads::handle(const SDL_Event& event, PadInput& pad, uint64_t now_ms) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: add(event.cdevice.which, pad, now_ms); return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (Slot* slot = slot_of(event.cdevice.which)) {
                SDL_GameControllerClose(slot->controller);
                *slot = Slot{};
                merge_buttons(pad, now_ms);
                pad_axis(pad, PadAxis::LeftX, 0, now_ms);  // a stick pulled out is let go
                pad_axis(pad, PadAxis::LeftY, 0, now_ms);
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            Slot* slot = slot_of(event.cbutton.which);
            const int b = pad_button_of(event.cbutton.button);
            if (slot == nullptr || b < 0) return true;
            const auto mask = static_cast<uint16_t>(1u << b);
            slot->held = static_cast<uint16_t>(event.type == SDL_CONTROLLERBUTTONDOWN ? (slot->held | mask) : (slot->held & ~mask));
            merge_buttons(pad, now_ms);
            return true;
        }
        case SDL_CONTROLLERAXISMOTION:  // the stick that moved last is the one that counts
            if (slot_of(event.caxis.which) == nullptr) return true;
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) pad_axis(pad, PadAxis::LeftX, event.caxis.value, now_ms);
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) pad_axis(pad, PadAxis::LeftY, event.caxis.value, now_ms);
            return true;
        default: return false;
    }
}

}  // namespace qvar
