#include "physics/physics_system.h"

#include "core/messaging.h"

void PhysicsSystem::HandleMessages() {
    for (const auto& message : MessagingSystem::GetMessages()) {
        if (const auto* reg = As<RegisterComponentMessage>(*message)) {
            if (reg->family == ComponentFamily::Physics) {
                components_.AddAnnounced(reg->component);
            }
        }
    }
}

void PhysicsSystem::Update() {
    HandleMessages();
    components_.Walk([](PhysicsComponent& c) { c.Update(); });
}
