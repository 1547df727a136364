#include "ui/menu_moves.h"

#include "input/input_system.h"

namespace {

constexpr double kStickRepeat = 0.2;
constexpr float kStickThreshold = 0.5f;

}  // namespace

MenuMoves MenuMoves::Read(double dt, double& repeatTimer) {
    using namespace InputSystem;
    MenuMoves moves;
    if (KeyTriggered(VirtualKey::Up) || KeyTriggered('W')) {
        moves.vertical = -1;
    } else if (KeyTriggered(VirtualKey::Down) || KeyTriggered('S')) {
        moves.vertical = 1;
    }
    if (KeyTriggered(VirtualKey::Left) || KeyTriggered('A')) {
        moves.horizontal = -1;
    } else if (KeyTriggered(VirtualKey::Right) || KeyTriggered('D')) {
        moves.horizontal = 1;
    }
    moves.next = KeyTriggered(VirtualKey::Tab);
    moves.activate = KeyTriggered(VirtualKey::Return) || KeyTriggered(VirtualKey::Space);
    repeatTimer += dt;
    if (!PadConnected(0)) {
        return moves;
    }
    moves.activate = moves.activate || PadButtonTriggered(0, PadButton::A);
    moves.back = PadButtonTriggered(0, PadButton::B);
    if (PadButtonTriggered(0, PadButton::DPadUp)) {
        moves.vertical = -1;
    } else if (PadButtonTriggered(0, PadButton::DPadDown)) {
        moves.vertical = 1;
    } else if (PadButtonTriggered(0, PadButton::DPadLeft)) {
        moves.horizontal = -1;
    } else if (PadButtonTriggered(0, PadButton::DPadRight)) {
        moves.horizontal = 1;
    } else if (repeatTimer >= kStickRepeat) {
        const float x = LeftStickX(0), y = LeftStickY(0);
        if (y > kStickThreshold || y < -kStickThreshold) {
            moves.vertical = y > 0.0f ? -1 : 1;
            repeatTimer = 0.0;
        } else if (x > kStickThreshold || x < -kStickThreshold) {
            moves.horizontal = x > 0.0f ? 1 : -1;
            repeatTimer = 0.0;
        }
    }
    return moves;
}
