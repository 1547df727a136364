// Component: the unit of behaviour. An object owns its components through its component table;
// systems keep non-owning lists of the components they drive.
//
// Every component of a system family announces itself from its constructor with a
// RegisterComponent message. One frame later the family's system adds it if by then it has an
// owner (and, for most families, the owner is not an archetype). A system drops a component from
// its list on the first pass that finds its owner cleared, and calls DropSystemReference then, so
// that the storage of a destroyed component is reclaimed only once no system can reach it.
//
// Concrete classes derive through ComponentOf<Derived, Base> (objects/component_registration.h),
// which supplies the class name, the meta type and default construction.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/messages.h"

class Object;
class MetaType;

class Component {
public:
    Component() = default;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    virtual ~Component() = default;

    // A new component of this class built from one tokenised data-file line: the first token is
    // the class name, then member name and value tokens; members without an entry keep their
    // defaults. A malformed entry makes the whole line void: the result is null and the problem
    // is appended to `diagnostics` (one line).
    virtual Component* CreateFromTokens(const std::vector<std::string>& tokens,
                                        std::vector<std::string>* diagnostics = nullptr) const;
    // A new, ownerless component of this class with every registered member copied.
    virtual Component* Clone() const;
    virtual void Update() { HandleMessages(); }
    virtual void HandleMessages() {}
    // Called when the owning object is destroyed, before the component is detached.
    virtual void OnDestroy() {}
    // The finishing step of Object::Clone, for components that hold derived state (a texture
    // component re-applies its texture by name).
    virtual void OnCloned() {}
    virtual void Print(std::ostream& /*out*/) const {}
    // Why this component, as a data file built it, would be unsafe to run (empty when it is
    // fine). The reader skips a line whose component has a problem; each class checks its own.
    virtual std::string DataProblem() const { return {}; }
    // Why this component, as built, runs but hardly as its author meant (empty when it is fine).
    // The reader names the line and keeps the component.
    virtual std::string DataDoubt() const { return {}; }
    virtual std::string GetName() const = 0;

    virtual const MetaType& GetMetaType() const = 0;
    // A default-constructed instance of the same class.
    virtual Component* CreateDefault() const = 0;

    Object* GetOwner() const { return owner; }
    void SetOwner(Object* o) { owner = o; }

    // How many systems currently hold this component in their lists.
    int SystemReferences() const { return systemReferences_; }
    void AddSystemReference() { ++systemReferences_; }
    void DropSystemReference() { --systemReferences_; }

protected:
    // The info echo: while the owner is selected, a copy of this component is dumped into the
    // owner's info text, which the renderer shows as the object's label.
    void EchoInfoIfSelected() const;

    Object* owner = nullptr;

private:
    int systemReferences_ = 0;
};

// The intermediates: each adds nothing but the family under which its constructor announces the
// component to the family's system.
class PhysicsComponent : public Component {
public:
    PhysicsComponent();
};

class GameLogicComponent : public Component {
public:
    GameLogicComponent();
};

class EditorComponent : public Component {
public:
    EditorComponent();
};

class GraphicsComponent : public Component {
public:
    GraphicsComponent();
};

class GUIComponent : public Component {
public:
    GUIComponent();
};

// Base of the graphics components drawn through an effect technique.
class ShaderComponent : public GraphicsComponent {};
