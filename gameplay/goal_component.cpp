#include "gameplay/goal_component.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "input/input_system.h"
#include "objects/object.h"

VORL_REGISTER_COMPONENT(GoalComponent) {
    meta.Member("unused", &GoalComponent::unused);
}

void GoalComponent::HandleMessages() {
    if (!owner) {
        return;
    }
    for (const auto& message : MessagingSystem::GetMessages()) {
        const auto* hit = As<CollisionMessage>(*message);
        if (!hit || hit->kind != CollisionKind::Began) {
            continue;
        }
        PlayerControlComponent* player = gameplay::PlayerOf(hit->Other(owner));
        if (!player) {
            continue;
        }
        gameplay::SetEmitting(*owner, true);
        owner->SetVisible(false);
        player->Win();
        gameplay::PlaySound("SFX/Level_Complete");
        InputSystem::StopRumble();
    }
}
