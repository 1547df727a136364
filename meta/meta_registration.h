// How types enter the registry. Each registered class has one registration next to its definition:
//
//   VORL_REGISTER_SAVED_COMPONENT(RigidBody2D) {
//       meta.Member("mass", &RigidBody2D::mass).Member("velocity", &RigidBody2D::velocity);
//   }
//
// For a component class this names the type, records its size, its members in registration order
// and whether the editor saves and shows it, and puts one default-constructed prototype into the
// ComponentFactory. That one registration is all the reader, the writer and the editor's panels
// need: no list of class names is kept anywhere else. Registrations run during
// static initialisation; the engine library is linked whole so none is dropped.
#pragma once

#include <memory>
#include <string>

#include "meta/component_factory.h"
#include "meta/meta_type.h"
#include "objects/component.h"

// Supplies what every concrete component class answers the same way: its name, its meta type and
// a default-constructed instance.
template <class Derived, class Base = Component>
class ComponentOf : public Base {
public:
    std::string GetName() const override { return MetaTypeOf<Derived>().Name(); }
    const MetaType& GetMetaType() const override { return MetaTypeOf<Derived>(); }
    Component* CreateDefault() const override { return new Derived; }
};

// Records members of T; offsets are measured on a live instance so that classes with virtual
// functions are handled without offsetof.
template <class T>
class MetaBuilder {
public:
    MetaBuilder(MetaType& type, const T& sample) : type_(type), sample_(sample) {}

    template <class M, class C>
    MetaBuilder& Member(const char* name, M C::*member) {
        type_.AddMember(name, OffsetOf(member), MetaTypeOf<std::remove_cv_t<M>>());
        return *this;
    }
    // A member listed under its name but of an unnamed type: no reader, writer or editor touches
    // it.
    template <class M, class C>
    MetaBuilder& UnnamedMember(const char* name, M C::*member) {
        type_.AddMember(name, OffsetOf(member), UnnamedMetaTypeOf<std::remove_cv_t<M>>());
        return *this;
    }

    // What a value holds beyond its members, dumped inside its block after them.
    MetaBuilder& NestedDump(DumpFunction dump) {
        type_.SetNestedDump(dump);
        return *this;
    }
    // How data files hold the type as one member's value (meta/value_form.h).
    MetaBuilder& Form(const ValueForm* form) {
        type_.SetForm(form);
        return *this;
    }

private:
    template <class M, class C>
    std::size_t OffsetOf(M C::*member) const {
        const auto* base = reinterpret_cast<const char*>(&sample_);
        return static_cast<std::size_t>(reinterpret_cast<const char*>(&(sample_.*member)) - base);
    }

    MetaType& type_;
    const T& sample_;
};

// Names a plain (non-component) type and registers its members on a temporary sample.
template <class T>
bool RegisterMetaType(const char* name, void (*registerMembers)(MetaBuilder<T>&)) {
    MetaType& type = MetaTypeOf<T>();
    type.Define(name, sizeof(T));
    const auto sample = std::make_unique<T>();
    MetaBuilder<T> builder(type, *sample);
    registerMembers(builder);
    return true;
}

// Names a primitive type, which dumps itself; `form` when data files hold it.
template <class T>
bool RegisterPrimitive(const char* name, DumpFunction dump, const ValueForm* form = nullptr) {
    MetaType& type = MetaTypeOf<T>();
    type.Define(name, sizeof(T));
    type.SetDumpFunction(dump);
    type.SetForm(form);
    return true;
}

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

#define VORL_REGISTER_TYPE(Class, Name)                             \
    static void RegisterMembersOf##Class(MetaBuilder<Class>& meta); \
    [[maybe_unused]] static const bool kRegistered##Class =         \
        RegisterMetaType<Class>(Name, &RegisterMembersOf##Class);   \
    static void RegisterMembersOf##Class([[maybe_unused]] MetaBuilder<Class>& meta)
