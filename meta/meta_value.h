// MetaValue: a typed view of some data, or an owned copy of it. The writers and the editor read a
// component's members through owned copies; the debug dump walks values recursively.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "meta/meta_type.h"

class MetaValue {
public:
    // A view of existing data.
    MetaValue(const MetaType& type, void* data, std::string name = {})
        : type_(&type), data_(data), name_(std::move(name)) {}
    // An owned copy of the value at `source`; none when the type has no value operations.
    static std::optional<MetaValue> CopyOf(const MetaType& type, const void* source,
                                           std::string name = {});

    MetaValue(MetaValue&& other) noexcept;
    MetaValue& operator=(MetaValue&&) = delete;
    MetaValue(const MetaValue&) = delete;
    ~MetaValue();

    const MetaType& Type() const { return *type_; }
    void* Data() const { return data_; }
    const std::string& Name() const { return name_; }

    // The view of one of this value's members.
    MetaValue Member(const MetaMember& member) const {
        return MetaValue(member.Type(), static_cast<char*>(data_) + member.Offset(), member.Name());
    }

    template <class T>
    T& As() const {
        return *static_cast<T*>(data_);
    }

private:
    const MetaType* type_;
    void* data_;
    std::string name_;
    bool owned_ = false;
};

// Writes the value through its type's dump function, or the default dump: the type name and value
// name, then "{", every member one level deeper (and, for an "Object", its components), "}". The
// indentation level is kept for the whole program.
void Dump(std::ostream& out, const MetaValue& value);

// The dump of a primitive: indentation, type name, value name and the value as a stream writes it
// (a bool as 0 or 1, a "char *" as its text, an "int *" as the pointer). Instantiated for int,
// int*, char, char*, double, float, bool and std::string.
template <class T>
void DumpPrimitive(std::ostream& out, const MetaValue& value);
