#include "objects/object_system.h"

#include "core/messaging.h"
#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"

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

void ObjectSystem::HandleMessages() {
    for (const auto& message : MessagingSystem::GetMessages()) {
        switch (message->type) {
            case MessageType::ClearLevel:
                DestroyAllLevelObjects();
                break;
            case MessageType::LevelStarted:
                update = true;
                break;
            case MessageType::EnterLevelEditor:
                DestroyAllLevelObjects();
                update = false;
                break;
            case MessageType::TogglePause:
            case MessageType::DeviceLostToggle:
                update = !update;
                break;
            default:
                break;
        }
    }
}

void ObjectSystem::Update() {
    HandleMessages();
    if (!update) {
        return;
    }
    const bool ctrl = InputSystem::KeyDown(VirtualKey::Control);
    const bool click = ctrl && InputSystem::MouseLeftTriggered();
    auto& live = LevelObjects();
    for (std::size_t i = 0; i < live.size(); ++i) {
        Object& object = *live[i];
        if (click) {
            object.SetSelected(InputSystem::IsMouseOver(object));
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
