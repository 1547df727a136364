#include <SDL.h>

#include <iostream>

#include "platform/virtual_gamepad.h"

namespace platform {
namespace {

class SdlVirtualGamepad : public VirtualGamepad {
public:
    ~SdlVirtualGamepad() override {
        if (joystick_) {
            SDL_JoystickClose(joystick_);
        }
        if (deviceIndex_ >= 0) {
            // The index may have moved as other devices came and went; find ours by id.
            for (int i = 0; i < SDL_NumJoysticks(); ++i) {
                if (SDL_JoystickGetDeviceInstanceID(i) == id_) {
                    SDL_JoystickDetachVirtual(i);
                    break;
                }
            }
            SDL_JoystickUpdate();
        }
        if (initialised_) {
            SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        }
    }

    bool Attach() {
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
            std::cout << "No virtual controller: " << SDL_GetError() << '\n';
            return false;
        }
        initialised_ = true;
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = kAxes;
        desc.nbuttons = kButtons;
        desc.name = "Vorl virtual controller";
        desc.userdata = this;
        desc.Rumble = [](void* self, Uint16 low, Uint16 high) {
            static_cast<SdlVirtualGamepad*>(self)->low_ = low;
            static_cast<SdlVirtualGamepad*>(self)->high_ = high;
            return 0;
        };
        deviceIndex_ = SDL_JoystickAttachVirtualEx(&desc);
        if (deviceIndex_ < 0) {
            std::cout << "No virtual controller: " << SDL_GetError() << '\n';
            return false;
        }
        joystick_ = SDL_JoystickOpen(deviceIndex_);
        if (!joystick_) {
            return false;
        }
        id_ = SDL_JoystickInstanceID(joystick_);
        // Triggers report their whole travel on the full axis range, so at rest they sit at the
        // bottom of it; the library starts every axis at its centre.
        SetAxis(4, -32768);
        SetAxis(5, -32768);
        return true;
    }

    void SetButton(int button, bool down) override {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
        SDL_JoystickUpdate();
    }
    void SetAxis(int axis, std::int16_t value) override {
        SDL_JoystickSetVirtualAxis(joystick_, axis, value);
        SDL_JoystickUpdate();
    }
    std::uint16_t LowMotor() const override { return low_; }
    std::uint16_t HighMotor() const override { return high_; }

private:
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID id_ = -1;
    int deviceIndex_ = -1;
    bool initialised_ = false;
    std::uint16_t low_ = 0;
    std::uint16_t high_ = 0;
};

}  // namespace

std::unique_ptr<VirtualGamepad> VirtualGamepad::Plug() {
    auto pad = std::make_unique<SdlVirtualGamepad>();
    if (!pad->Attach()) {
        return nullptr;
    }
    return pad;
}

}  // namespace platform
