// How types enter the registry. Each registered type has one registration next to its definition:
//
//   VORL_REGISTER_TYPE(Vector2D, "Vector2D") {
//       VORL_MEMBERS(meta, x, y).Form(&kVectorForm);
//   }
//
// This names the type and records its size and members in registration order (component classes
// register through objects/component_registration.h, which builds on this). Registrations run
// during static initialisation; the engine library is linked whole so none is dropped.
#pragma once

#include <memory>
#include <string>
#include <type_traits>

#include "meta/meta_type.h"

// Records members of T; offsets are measured on a live instance so that classes with virtual
// functions are handled without offsetof.
template <class T>
class MetaBuilder {
public:
    using Class = T;

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

// Lists members whose data-file name is the field's own name, so each name is written once:
// VORL_MEMBERS(meta, mass, velocity) is meta.Member("mass", &RigidBody2D::mass)
// .Member("velocity", &RigidBody2D::velocity), the class taken from the builder. The list order is
// the registration order, which is the order files are written in. It yields the builder, so
// members of other forms (UnnamedMember, a name unlike the field's, NestedDump) chain after it.
#define VORL_MEMBERS(builder, ...)                                                          \
    builder VORL_FOR_EACH_(VORL_MEMBER_, std::remove_reference_t<decltype(builder)>::Class, \
                           __VA_ARGS__)
#define VORL_MEMBER_(Class, name) .Member(#name, &Class::name)

// A preprocessor for-each: each rescan of VORL_EXPAND_'s argument unrolls one more element, and the
// nested expansions rescan it more than 64 times, more than any class lists. A longer list leaves
// an unexpanded VORL_FOR_EACH_AGAIN_ behind and fails to compile rather than dropping members.
#define VORL_FOR_EACH_(macro, Class, ...) \
    __VA_OPT__(VORL_EXPAND_(VORL_FOR_EACH_STEP_(macro, Class, __VA_ARGS__)))
#define VORL_FOR_EACH_STEP_(macro, Class, first, ...) \
    macro(Class, first) __VA_OPT__(VORL_FOR_EACH_AGAIN_ VORL_PARENS_(macro, Class, __VA_ARGS__))
#define VORL_FOR_EACH_AGAIN_() VORL_FOR_EACH_STEP_
#define VORL_PARENS_ ()
#define VORL_EXPAND_(...) VORL_EXPAND3_(VORL_EXPAND3_(VORL_EXPAND3_(VORL_EXPAND3_(__VA_ARGS__))))
#define VORL_EXPAND3_(...) VORL_EXPAND2_(VORL_EXPAND2_(VORL_EXPAND2_(VORL_EXPAND2_(__VA_ARGS__))))
#define VORL_EXPAND2_(...) VORL_EXPAND1_(VORL_EXPAND1_(VORL_EXPAND1_(VORL_EXPAND1_(__VA_ARGS__))))
#define VORL_EXPAND1_(...) __VA_ARGS__
