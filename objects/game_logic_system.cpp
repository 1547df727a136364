#include "objects/game_logic_system.h"

#include "core/editor_mode.h"
#include "core/message_reactions.h"

GameLogicSystem::GameLogicSystem() {
    reactions_
        .On({MessageType::LevelStarted},
            [this] {
                if (!EditorMode::IsActive()) {
                    update = true;
                }
            })
        .On({MessageType::EnterLevelEditor, MessageType::TogglePause,
             MessageType::EnterArchetypeEditor, MessageType::DeviceLostToggle},
            [this] { update = false; })
        .On<RegisterComponentMessage>([this](const RegisterComponentMessage& reg) {
            if (reg.family == ComponentFamily::GameLogic) {
                components_.AddAnnounced(reg.component);
            }
        })
        .On({MessageType::ArchetypesLoaded}, [this] { components_.Clear(); })
        .On({MessageType::Resume}, [this] { update = true; });
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
