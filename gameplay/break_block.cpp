#include "gameplay/break_block.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "graphics/texture_component.h"
#include "objects/object.h"
#include "physics/colliders.h"

VORL_REGISTER_SAVED_COMPONENT(BreakBlock) {
    VORL_MEMBERS(meta, BreakSpeed);
}

void BreakBlock::HandleMessages() {
    MessagingSystem::ForEach<PlayerFormChangedMessage>(
        [this](const PlayerFormChangedMessage& form) {
            if (auto* box = owner ? owner->Get<BoxCollider2D>("BoxCollider2D") : nullptr) {
                box->SetHollow(form.isFull);
            }
        });
}

void BreakBlock::Update() {
    if (!owner) {
        return;
    }
    // The burst lasts one frame.
    gameplay::SetEmitting(*owner, false);
    HandleMessages();
    gameplay::ForEachContact(owner, [this](CollisionKind, const Object& other) {
        const PlayerControlComponent* player = gameplay::PlayerOf(&other);
        const bool fullPlayer = other.GetName() == "Player1" && player && player->isFull;
        if (fullPlayer || other.GetName() == "Movable") {
            Break();
        }
    });
}

void BreakBlock::Break() {
    if (!owner->HasComponent("BoxCollider2D") || !owner->HasComponent("TextureComponent")) {
        return;
    }
    gameplay::DropBoxCollider(*owner);
    owner->SetVisible(false);
    broken = true;
    if (gameplay::HasEmitter(*owner)) {
        gameplay::PlaySoundAt("SFX/Breaking_Blocks_01", *owner);
        gameplay::SetEmitting(*owner, true);
    }
}
