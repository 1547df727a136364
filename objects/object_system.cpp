#include "objects/object_system.h"

#include "core/message_reactions.h"
#include "meta/meta_registration.h"
#include "objects/level_objects.h"
#include "objects/object.h"

VORL_REGISTER_TYPE(ObjectSystem, "ObjectSystem") {
    VORL_MEMBERS(meta, update);
}

void DestroyAllLevelObjects() {
    auto& live = LevelObjects();
    while (!live.empty()) {
        live.front()->Destroy();
    }
}

void DestroyAllArchetypes() {
    auto& archetypes = ArchetypeTable();
    while (!archetypes.Empty()) {
        archetypes.begin()->second->Destroy();
    }
}

ObjectSystem::ObjectSystem() {
    reactions_.On({MessageType::ClearLevel}, [] { DestroyAllLevelObjects(); })
        .On({MessageType::LevelStarted}, [this] { update = true; })
        .On({MessageType::EnterLevelEditor},
            [this] {
                DestroyAllLevelObjects();
                update = false;
            })
        .On({MessageType::TogglePause, MessageType::DeviceLostToggle},
            [this] { update = !update; });
}

void ObjectSystem::Update() {
    HandleMessages();
    if (!update) {
        return;
    }
    const bool click = selectionInput.selectClicked && selectionInput.selectClicked() &&
                       selectionInput.isUnderMouse;
    auto& live = LevelObjects();
    for (std::size_t i = 0; i < live.size(); ++i) {
        Object& object = *live[i];
        if (click) {
            object.SetSelected(selectionInput.isUnderMouse(object));
        }
        if (object.IsSelected()) {
            auto& info = object.GetInfoStream();
            info.str("");
            info.clear();
            info << "Components: \n";
        }
    }
}

void ObjectSystem::Shutdown() {
    DestroyAllLevelObjects();
}
