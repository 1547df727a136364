#include "gameplay/goal_component.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "input/input_system.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(GoalComponent) {
    VORL_MEMBERS(meta, unused);
}

void GoalComponent::HandleMessages() {
    gameplay::ForEachContactBegun(owner, [this](Object& other) {
        PlayerControlComponent* player = gameplay::PlayerOf(&other);
        if (!player) {
            return;
        }
        gameplay::SetEmitting(*owner, true);
        owner->SetVisible(false);
        player->Win();
        gameplay::PlaySound("SFX/Level_Complete");
        InputSystem::StopRumble();
    });
}
