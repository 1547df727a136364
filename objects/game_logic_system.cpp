#include "objects/game_logic_system.h"

#include "core/messaging.h"
#include "editor/editor_mode.h"

void GameLogicSystem::HandleMessages() {
    for (const auto& message : MessagingSystem::GetMessages()) {
        switch (message->type) {
            case MessageType::LevelStarted:
                if (!EditorMode::IsActive()) {
                    update = true;
                }
                break;
            case MessageType::EnterLevelEditor:
            case MessageType::TogglePause:
            case MessageType::EnterArchetypeEditor:
            case MessageType::DeviceLostToggle:
                update = false;
                break;
            case MessageType::RegisterComponent: {
                const auto& reg = static_cast<const RegisterComponentMessage&>(*message);
                if (reg.family == ComponentFamily::GameLogic) {
                    components_.AddAnnounced(reg.component);
                }
                break;
            }
            case MessageType::ArchetypesLoaded:
                components_.Clear();
                break;
            case MessageType::Resume:
                update = true;
                break;
            default:
                break;
        }
    }
}

void GameLogicSystem::Update() {
    HandleMessages();
    if (update) {
        components_.Walk([](GameLogicComponent& c) { c.Update(); });
    } else if (EditorMode::IsActive()) {
        components_.Walk([](GameLogicComponent& c) {
            if (c.GetName() == "ParticleEmitterComponent") {
                c.Update();
            }
        });
    } else {
        // Paused: nothing runs, but detached components still leave the list so that their
        // storage can be reclaimed.
        components_.Prune();
    }
}
