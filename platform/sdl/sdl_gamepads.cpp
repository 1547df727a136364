#include "platform/sdl/sdl_gamepads.h"

#include <SDL.h>

#include <array>
#include <cstring>
#include <iostream>

#include "platform/pad_reading.h"

namespace platform {
namespace {

constexpr int kSlots = 4;

struct ButtonBit {
    SDL_GameControllerButton button;
    std::uint16_t bit;
};

constexpr ButtonBit kButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::DPadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::DPadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::DPadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::DPadRight},
    {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, PadButton::LeftThumb},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, PadButton::RightThumb},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadButton::LeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadButton::RightShoulder},
    {SDL_CONTROLLER_BUTTON_GUIDE, PadButton::Guide},
    {SDL_CONTROLLER_BUTTON_A, PadButton::A},
    {SDL_CONTROLLER_BUTTON_B, PadButton::B},
    {SDL_CONTROLLER_BUTTON_X, PadButton::X},
    {SDL_CONTROLLER_BUTTON_Y, PadButton::Y},
};

class SdlGamepads : public Gamepads {
public:
    SdlGamepads() {
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
            std::cout << "Game controllers unavailable: " << SDL_GetError() << '\n';
            return;
        }
        initialised_ = true;
    }
    ~SdlGamepads() override {
        for (Slot& slot : slots_) {
            Close(slot);
        }
        if (initialised_) {
            SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        }
    }

    bool Read(int pad, ControllerState& state) override {
        if (!initialised_ || pad < 0 || pad >= kSlots) {
            return false;
        }
        Slot& slot = slots_[pad];
        if (slot.controller && !SDL_GameControllerGetAttached(slot.controller)) {
            Close(slot);
        }
        if (!slot.controller && !Claim(slot)) {
            return false;
        }
        PadReading reading;
        for (const ButtonBit& entry : kButtons) {
            if (SDL_GameControllerGetButton(slot.controller, entry.button)) {
                reading.buttons |= entry.bit;
            }
        }
        SDL_GameController* c = slot.controller;
        reading.leftX = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
        reading.leftY = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
        reading.rightX = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTX);
        reading.rightY = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTY);
        reading.leftTrigger = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
        reading.rightTrigger = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
        ControllerState fresh = ToControllerState(reading);
        // Like XInput, the packet number moves only when something changed.
        fresh.packetNumber = slot.last.packetNumber;
        if (std::memcmp(&fresh, &slot.last, sizeof fresh) != 0) {
            ++fresh.packetNumber;
        }
        slot.last = fresh;
        state = fresh;
        return true;
    }

    void SetRumble(int pad, std::uint16_t left, std::uint16_t right) override {
        if (pad < 0 || pad >= kSlots || !slots_[pad].controller) {
            return;
        }
        // XInput motors keep turning until told otherwise; SDL wants a duration and caps it at
        // about a minute, which outlasts every rumble the game asks for.
        constexpr Uint32 kUntilStopped = 0xFFFFFFFFu;
        SDL_GameControllerRumble(slots_[pad].controller, left, right, kUntilStopped);
    }

private:
    struct Slot {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        ControllerState last;
    };

    static void Close(Slot& slot) {
        if (slot.controller) {
            SDL_GameControllerClose(slot.controller);
        }
        slot = Slot{};
    }

    bool Claimed(SDL_JoystickID id) const {
        for (const Slot& slot : slots_) {
            if (slot.controller && slot.id == id) {
                return true;
            }
        }
        return false;
    }

    bool Claim(Slot& slot) {
        const int count = SDL_NumJoysticks();
        for (int index = 0; index < count; ++index) {
            if (!SDL_IsGameController(index) || Claimed(SDL_JoystickGetDeviceInstanceID(index))) {
                continue;
            }
            SDL_GameController* controller = SDL_GameControllerOpen(index);
            if (!controller) {
                continue;
            }
            slot.controller = controller;
            slot.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            return true;
        }
        return false;
    }

    std::array<Slot, kSlots> slots_{};
    bool initialised_ = false;
};

}  // namespace

std::unique_ptr<Gamepads> MakeSdlGamepads() {
    return std::make_unique<SdlGamepads>();
}

}  // namespace platform
