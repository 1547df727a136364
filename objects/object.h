// Object: a named bag of components with one embedded Transform2D. Level objects live in
// LevelObjects, archetypes (templates loaded from the archetype files) in the ArchetypeTable;
// level objects are made from archetypes with Clone().
//
// An object owns its components. Destroy() detaches them at once and hands the object's storage to
// the graveyard (objects/graveyard.h), which frees it only when no system list and no queued
// message can still point at it; a destroyed object must not be used by its destroyer afterwards.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <typeinfo>

#include "core/name_table.h"
// Every object embeds its transform (the data files and the editor treat it as part of the object,
// not as a component), so this one header reaches up into physics/.
#include "objects/transform2d.h"

class Component;

class Object {
public:
    using ComponentTable = NameTable<Component*>;

    Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    ~Object();

    // Sets the component's owner and files it under `name`. A name already present keeps its first
    // component: the newcomer is then discarded and false is returned.
    bool AddComponent(const std::string& name, Component* component);
    Component* GetComponent(std::string_view name) const { return components.Get(name); }
    bool HasComponent(std::string_view name) const { return components.Contains(name); }
    // Detaches and discards the component; false when there was none.
    bool RemoveComponent(std::string_view name);
    const ComponentTable& GetComponents() const { return components; }
    // Changes whenever a component is added, removed or detached, so a system may cache lookups
    // into the table between changes.
    std::uint32_t ComponentsVersion() const { return componentsVersion; }

    // The component under `name` as T, or null. Physics looks up bodies and colliders every step:
    // the exact class is matched before falling back to a dynamic_cast.
    template <class T>
    T* Get(std::string_view name) const {
        Component* component = GetComponent(name);
        if (component && typeid(*component) == typeid(T)) {
            return static_cast<T*>(component);
        }
        return dynamic_cast<T*>(component);
    }

    const std::string& GetName() const { return filename; }
    void SetName(std::string name) { filename = std::move(name); }
    bool IsVisible() const { return isVisible; }
    void SetVisible(bool visible) { isVisible = visible; }
    bool IsSelected() const { return isSelected; }
    void SetSelected(bool selected) { isSelected = selected; }
    std::ostringstream& GetInfoStream() { return myInfo; }
    bool GetHorizontalFlip() const { return horizontalFlip; }
    void SetHorizontalFlip(bool flip) { horizontalFlip = flip; }
    bool GetVerticalFlip() const { return verticalFlip; }
    void SetVerticalFlip(bool flip) { verticalFlip = flip; }
    bool IsArchetype() const { return isArchetype; }
    void SetArchetype(bool archetype) { isArchetype = archetype; }
    int GetVertexCount() const { return vertexCount; }
    // Where the object is drawn when not at its own position (a body held in a cannon's barrel
    // while physics still pulls it there); none draws it where it is.
    const std::optional<Vector2D>& DrawnAt() const { return drawnAt; }
    void SetDrawnAt(std::optional<Vector2D> at) { drawnAt = at; }

    Transform2D& GetTransform() { return transform; }
    const Transform2D& GetTransform() const { return transform; }

    // Counts up from 1 as objects are made in this process. Where the engine needs an order of
    // objects (the physics resolves contacts in one), it uses this rather than addresses, which
    // depend on what else was allocated before and would make a level play out differently.
    std::uint64_t CreationNumber() const { return creationNumber; }

    // A new level object (never an archetype) with cloned components, the source's rotation, scale
    // and depth, position (0, 0) and the source's name, appended to LevelObjects.
    Object* Clone() const;

    // Detaches every component (OnDestroy first), unlists the object from LevelObjects or the
    // ArchetypeTable, and hands it to the graveyard.
    void Destroy();

    // Member names are the data files' ("transform", "filename", ...): the meta registry lists
    // them.
    Transform2D transform;
    bool horizontalFlip = false;
    bool verticalFlip = false;
    std::string filename;
    bool isVisible = false;
    bool isSelected = false;
    int vertexCount = 6;
    std::ostringstream myInfo;

private:
    ComponentTable components;
    bool isArchetype = false;
    bool destroyed = false;
    std::uint32_t componentsVersion = 0;
    std::optional<Vector2D> drawnAt;
    const std::uint64_t creationNumber;
};
