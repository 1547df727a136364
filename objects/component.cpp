#include "objects/component.h"

#include "core/messaging.h"
#include "meta/meta_value.h"
#include "objects/object.h"

Component* Component::Clone() const {
    Component* copy = CreateDefault();
    const MetaType& type = GetMetaType();
    // Both sides are the same class, so each registered member is copied once, by value.
    void* to = dynamic_cast<void*>(copy);
    const void* from = dynamic_cast<const void*>(this);
    for (const MetaMember& member : type.Members()) {
        const MetaOperations* ops = member.Type().Operations();
        if (ops) {
            ops->copy(static_cast<char*>(to) + member.Offset(),
                      static_cast<const char*>(from) + member.Offset());
        }
    }
    return copy;
}

void Component::EchoInfoIfSelected() const {
    if (!owner || !owner->IsSelected()) {
        return;
    }
    // A view, not a copy: building a component announces it to the systems.
    const MetaValue view(GetMetaType(), const_cast<void*>(dynamic_cast<const void*>(this)),
                         GetName());
    Dump(owner->GetInfoStream(), view);
}

namespace {
template <ComponentFamily Family>
void Announce(Component* component) {
    MessagingSystem::Send<RegisterComponentMessage>(Family, component);
}
}  // namespace

PhysicsComponent::PhysicsComponent() {
    Announce<ComponentFamily::Physics>(this);
}
GameLogicComponent::GameLogicComponent() {
    Announce<ComponentFamily::GameLogic>(this);
}
EditorComponent::EditorComponent() {
    Announce<ComponentFamily::Editor>(this);
}
GraphicsComponent::GraphicsComponent() {
    Announce<ComponentFamily::Graphics>(this);
}
GUIComponent::GUIComponent() {
    Announce<ComponentFamily::GUI>(this);
}
