// How component classes enter the registry. Each has one registration next to its definition:
//
//   VORL_REGISTER_SAVED_COMPONENT(RigidBody2D) {
//       VORL_MEMBERS(meta, mass, velocity);
//   }
//
// This names the type, records its size, its members in registration order and whether the editor
// saves and shows it, and puts one default-constructed prototype into the ComponentFactory. That
// one registration is all the reader, the writer and the editor's panels need: no list of class
// names is kept anywhere else.
#pragma once

#include <string>

#include "meta/meta_registration.h"
#include "meta/meta_type.h"
#include "objects/component.h"
#include "objects/component_factory.h"

// Supplies what every concrete component class answers the same way: its name, its meta type and
// a default-constructed instance.
template <class Derived, class Base = Component>
class ComponentOf : public Base {
public:
    std::string GetName() const override { return MetaTypeOf<Derived>().Name(); }
    const MetaType& GetMetaType() const override { return MetaTypeOf<Derived>(); }
    Component* CreateDefault() const override { return new Derived; }
};

template <class T>
bool RegisterComponentClass(const char* name, ComponentUse use,
                            void (*registerMembers)(MetaBuilder<T>&)) {
    MetaType& type = MetaTypeOf<T>();
    type.Define(name, sizeof(T));
    type.SetUse(use);
    T* prototype = new T;
    MetaBuilder<T> builder(type, *prototype);
    registerMembers(builder);
    ComponentFactory::Add(name, prototype);
    return true;
}

#define VORL_REGISTER_COMPONENT_AS(Class, use)                                 \
    static void RegisterMembersOf##Class(MetaBuilder<Class>& meta);            \
    [[maybe_unused]] static const bool kRegistered##Class =                    \
        RegisterComponentClass<Class>(#Class, use, &RegisterMembersOf##Class); \
    static void RegisterMembersOf##Class([[maybe_unused]] MetaBuilder<Class>& meta)
// The engine's own classes, which no data file or panel names.
#define VORL_REGISTER_COMPONENT(Class) VORL_REGISTER_COMPONENT_AS(Class, ComponentUse::Internal)
// The classes designers place: saved by the editor and shown in its panels.
#define VORL_REGISTER_SAVED_COMPONENT(Class) VORL_REGISTER_COMPONENT_AS(Class, ComponentUse::Saved)
