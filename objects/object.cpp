#include "objects/object.h"

#include <algorithm>

#include "core/check.h"
#include "meta/meta_registration.h"
#include "meta/meta_value.h"
#include "objects/component.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"

namespace {

// An object's dump lists its components after its own members, each under its table name.
void DumpComponents(std::ostream& out, const MetaValue& value) {
    for (const auto& [name, component] : value.As<Object>().GetComponents()) {
        Dump(out, MetaValue(component->GetMetaType(), dynamic_cast<void*>(component), name));
    }
}

}  // namespace

VORL_REGISTER_TYPE(Object, "Object") {
    VORL_MEMBERS(meta, filename).UnnamedMember("vertexCount", &Object::vertexCount);
    VORL_MEMBERS(meta, horizontalFlip, transform).UnnamedMember("myInfo", &Object::myInfo);
    VORL_MEMBERS(meta, verticalFlip, isSelected).NestedDump(&DumpComponents);
}

namespace {
std::uint64_t objectsMade = 0;
}  // namespace

Object::Object() : creationNumber(++objectsMade) {
    transform.SetOwner(this);
}

Object::~Object() {
    // Only objects that were never destroyed (archetypes at exit, test scaffolding) still own
    // components here.
    for (auto& [name, component] : components) {
        delete component;
    }
}

bool Object::AddComponent(const std::string& name, Component* component) {
    ++componentsVersion;
    component->SetOwner(this);
    if (!components.Insert(name, component).second) {
        // The first component under a name stays. The newcomer was already announced to its
        // system, so it is detached and left to the graveyard rather than deleted here.
        component->SetOwner(nullptr);
        Graveyard::Bury(component);
        return false;
    }
    return true;
}

bool Object::RemoveComponent(std::string_view name) {
    auto it = components.Find(name);
    if (it == components.end()) {
        return false;
    }
    Component* component = it->second;
    component->SetOwner(nullptr);
    components.Erase(it);
    ++componentsVersion;
    Graveyard::Bury(component);
    return true;
}

Object* Object::Clone() const {
    auto* copy = new Object;
    for (const auto& [name, component] : components) {
        copy->AddComponent(name, component->Clone());
    }
    if (Component* texture = copy->GetComponent("TextureComponent")) {
        texture->OnCloned();
    }
    copy->transform.SetRotationDegrees(transform.GetRotationDegrees());
    copy->transform.SetScale(transform.GetScale());
    copy->transform.SetZLayer(transform.GetZLayer());
    copy->transform.SetPosition({0.0f, 0.0f});
    copy->filename = filename;
    LevelObjects().push_back(copy);
    return copy;
}

void Object::Destroy() {
    // A second pass would bury the components twice.
    if (!VORL_CHECK(!destroyed, "an object is destroyed once")) {
        return;
    }
    destroyed = true;
    while (!components.Empty()) {
        auto first = components.begin();
        Component* component = first->second;
        component->OnDestroy();
        component->SetOwner(nullptr);
        components.Erase(first);
        ++componentsVersion;
        Graveyard::Bury(component);
    }
    if (isArchetype) {
        auto& archetypes = ArchetypeTable();
        auto entry = archetypes.Find(filename);
        if (entry != archetypes.end() && entry->second == this) {
            archetypes.Erase(entry);
        }
    } else {
        auto& live = LevelObjects();
        auto it = std::find(live.begin(), live.end(), this);
        if (it != live.end()) {
            live.erase(it);
        }
    }
    Graveyard::Bury(this);
}
