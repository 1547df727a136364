#include "gameplay/ending.h"

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "gameplay/run_state.h"
#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(EndOfGame) {
    VORL_MEMBERS(meta, active, side);
}

VORL_REGISTER_SAVED_COMPONENT(Starfall) {
    VORL_MEMBERS(meta, check);
}

VORL_REGISTER_SAVED_COMPONENT(FlyingStar) {
    VORL_MEMBERS(meta, speed, active);
}

namespace {

constexpr float kStarDepth = 5.0f;
constexpr Vector2D kStarScale{30.0f, 30.0f};
constexpr Vector2D kRightDrift{30.0f, 1500.0f};
constexpr Vector2D kLeftDrift{-30.0f, 1500.0f};
constexpr Vector2D kStarWobble{0.0f, 500.0f};
// Stars hurried out together fan out this fast sideways at the fan's edges.
constexpr float kFanDrift = 700.0f;

bool HurryPressed() {
    using namespace InputSystem;
    return AnyKeyTriggered() || PadButtonTriggered(0, 0xFFFF) || MouseLeftTriggered();
}

// One axis of the triangle wave: steps of amplitude / 120 toward the peak it is heading for,
// turning once past it.
void WobbleAxis(float& value, bool& rising, float amplitude) {
    const float step = amplitude / FlyingStar::kWobbleSteps;
    if (rising) {
        value += step;
        if (value > amplitude) {
            rising = false;
        }
    } else {
        value -= step;
        if (value < -amplitude) {
            rising = true;
        }
    }
}

}  // namespace

void EndOfGame::HandleMessages() {
    if (!owner) {
        return;
    }
    gameplay::ForEachContact(owner, [this](CollisionKind kind, const Object& other) {
        if (other.GetName() != "Catapult") {
            return;
        }
        if (kind == CollisionKind::Began) {
            if (PlayerControlComponent* player = gameplay::PlayerOf(owner)) {
                player->SetActive(false);
                if (!player->isFull) {
                    player->SwitchFormByGamepad();
                }
            }
        } else if (kind == CollisionKind::Ended) {
            active = true;
            started = true;
        }
    });
}

void EndOfGame::Update() {
    HandleMessages();
    sinceLastRelease += static_cast<float>(FrameRateController::GetDT());
    if (owner && Hurriable() && HurryPressed()) {
        Hurry();
    }
    if (!owner || !active || StarCount == 0) {
        return;
    }
    if (releaseTimer < 0.0f) {
        ReleaseStar(0.0f);
    } else {
        releaseTimer -= static_cast<float>(FrameRateController::GetDT());
    }
}

void EndOfGame::Hurry() {
    hurried = true;
    const int left = StarCount;
    for (int i = 0; i < left; ++i) {
        const float spread = left > 1 ? 2.0f * static_cast<float>(i) / (left - 1) - 1.0f : 0.0f;
        ReleaseStar(spread);
    }
}

void EndOfGame::ReleaseStar(float spread) {
    --StarCount;
    sinceLastRelease = 0.0f;
    if (Object* archetype = ArchetypeTable().Get("StarEnd")) {
        Object* star = archetype->Clone();
        Transform2D& t = star->GetTransform();
        t.SetPosition(owner->GetTransform().GetPosition());
        t.SetZLayer(kStarDepth);
        t.SetScale(kStarScale);
        star->SetVisible(true);
        if (auto* flying = star->Get<FlyingStar>("FlyingStar")) {
            flying->active = true;
            flying->speed = side ? kRightDrift : kLeftDrift;
            flying->speed.x += spread * kFanDrift;
            flying->amplitude = kStarWobble;
        }
    }
    side = !side;
    if (StarCount == 0) {
        active = false;
    }
    releaseTimer = kReleaseInterval;
}

void Starfall::HandleMessages() {
    if (!owner) {
        return;
    }
    gameplay::ForEachContactBegun(owner, [](const Object& other) {
        if (other.GetName() == "Movable") {
            MessagingSystem::Send<StarfallStartedMessage>();
        }
    });
}

void FlyingStar::HandleMessages() {
    if (MessagingSystem::WasSent(MessageType::StarfallStarted)) {
        active = true;
        if (owner) {
            gameplay::SetEmitting(*owner, true);
        }
    }
}

void FlyingStar::Update() {
    HandleMessages();
    if (!owner || !active) {
        return;
    }
    velocity = speed + wobble;
    Transform2D& t = owner->GetTransform();
    t.SetPosition(t.GetPosition() + velocity * static_cast<float>(FrameRateController::GetDT()));
    WobbleAxis(wobble.x, wobbleRisingX, amplitude.x);
    WobbleAxis(wobble.y, wobbleRisingY, amplitude.y);
}
