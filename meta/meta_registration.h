// How types enter the registry. Each registered type has one registration next to its definition:
//
//   VORL_REGISTER_TYPE(Vector2D, "Vector2D") {
//       meta.Member("x", &Vector2D::x).Member("y", &Vector2D::y);
//   }
//
// This names the type and records its size and members in registration order (component classes
// register through objects/component_registration.h, which builds on this). Registrations run
// during static initialisation; the engine library is linked whole so none is dropped.
#pragma once

#include <memory>
#include <string>

#include "meta/meta_type.h"

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

#define VORL_REGISTER_TYPE(Class, Name)                             \
    static void RegisterMembersOf##Class(MetaBuilder<Class>& meta); \
    [[maybe_unused]] static const bool kRegistered##Class =         \
        RegisterMetaType<Class>(Name, &RegisterMembersOf##Class);   \
    static void RegisterMembersOf##Class([[maybe_unused]] MetaBuilder<Class>& meta)
