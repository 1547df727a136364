// The run-time type registry. Every registered type has one MetaType: its name, size, optional dump
// function and the ordered list of its data members (name, byte offset, member type). The data-file
// reader sets members by name, the writer writes them by type name, the editor builds one field per
// member, and every component's Clone copies them.
//
// MetaTypeOf<T>() returns T's record, creating it on first use with an empty name: a member may
// name a type whose own registration has not run yet. All registration happens during static
// initialisation (meta/meta_registration.h); afterwards the registry is read-only.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

class MetaType;
class MetaValue;
struct ValueForm;

// Where a component class shows beyond the game: nowhere (the engine's own), in the editor's
// panels, or also in the level and archetype files the editor saves.
enum class ComponentUse { Internal, Edited, Saved };

using DumpFunction = void (*)(std::ostream&, const MetaValue&);

class MetaMember {
public:
    MetaMember(std::string name, std::size_t offset, const MetaType& type)
        : name_(std::move(name)), offset_(offset), type_(&type) {}
    const std::string& Name() const { return name_; }
    std::size_t Offset() const { return offset_; }
    const MetaType& Type() const { return *type_; }

private:
    std::string name_;
    std::size_t offset_;
    const MetaType* type_;
};

// How to construct, destroy and copy a value of the C++ type behind a record. Absent for types
// that cannot be copied (text streams): their members are passed over by Clone.
struct MetaOperations {
    void (*construct)(void* at);
    void (*destroy)(void* at);
    void (*copy)(void* to, const void* from);
};

class MetaType {
public:
    explicit MetaType(const MetaOperations* operations) : operations_(operations) {}
    MetaType(const MetaType&) = delete;
    MetaType& operator=(const MetaType&) = delete;

    const std::string& Name() const { return name_; }
    std::size_t Size() const { return size_; }
    DumpFunction GetDumpFunction() const { return dump_; }
    // Dumps what a value holds beyond its members (an object's components), inside its block.
    DumpFunction GetNestedDump() const { return nestedDump_; }
    const std::vector<MetaMember>& Members() const { return members_; }
    // The member called `name`, or null.
    const MetaMember* FindMember(std::string_view name) const;
    const MetaOperations* Operations() const { return operations_; }
    // How data files hold a value of this type and the editor shows it; null for a type they do
    // not hold.
    const ValueForm* Form() const { return form_; }
    // For a component class: whether the editor's saves write it and its panels show it.
    bool IsSaved() const { return use_ == ComponentUse::Saved; }
    bool IsEditable() const { return use_ != ComponentUse::Internal; }

    void Define(std::string name, std::size_t size) {
        name_ = std::move(name);
        size_ = size;
    }
    void SetDumpFunction(DumpFunction dump) { dump_ = dump; }
    void SetNestedDump(DumpFunction dump) { nestedDump_ = dump; }
    void SetForm(const ValueForm* form) { form_ = form; }
    void SetUse(ComponentUse use) { use_ = use; }
    void AddMember(std::string name, std::size_t offset, const MetaType& type) {
        members_.emplace_back(std::move(name), offset, type);
    }

private:
    std::string name_;
    std::size_t size_ = 0;
    DumpFunction dump_ = nullptr;
    DumpFunction nestedDump_ = nullptr;
    const ValueForm* form_ = nullptr;
    ComponentUse use_ = ComponentUse::Internal;
    std::vector<MetaMember> members_;
    const MetaOperations* operations_;
};

template <class T>
const MetaOperations* MetaOperationsFor() {
    if constexpr (std::is_default_constructible_v<T> && std::is_copy_assignable_v<T>) {
        static const MetaOperations operations{
            [](void* at) { ::new (at) T(); },
            [](void* at) { static_cast<T*>(at)->~T(); },
            [](void* to, const void* from) { *static_cast<T*>(to) = *static_cast<const T*>(from); },
        };
        return &operations;
    } else {
        return nullptr;
    }
}

template <class T>
MetaType& MetaTypeOf() {
    static MetaType type(MetaOperationsFor<T>());
    return type;
}

// A record for a member whose type is deliberately left unnamed (handles, streams, references
// to shared resources): listed among the members, matched by no reader, writer or editor field.
template <class T>
MetaType& UnnamedMetaTypeOf() {
    struct Tag {};
    static MetaType type(MetaOperationsFor<T>());
    return type;
}
