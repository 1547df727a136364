// Registration of the types that live below the registry: the primitives, core's vectors and
// core's DebugSystem (core cannot include meta, so meta registers them). Every other type is
// registered next to its class. The five member types data files hold get their form here.
#include <cstddef>
#include <ostream>
#include <string>
#include <type_traits>

#include "core/debug_system.h"
#include "core/vector.h"
#include "meta/meta_registration.h"
#include "meta/meta_value.h"
#include "meta/value_form.h"

namespace {

template <class T, std::size_t Index = 0>
constexpr ValueKind KindOf() {
    if constexpr (std::is_same_v<std::variant_alternative_t<Index, DataValue>, T>) {
        return static_cast<ValueKind>(Index);
    } else {
        return KindOf<T, Index + 1>();
    }
}

// The form of T, whose decoded value is DataValue's alternative T, written by `Write`.
template <class T, void (*Write)(std::ostream&, const T&)>
constexpr ValueForm FormOf(platform::FieldType field, const char* fieldDefinition = "") {
    return {KindOf<T>(),
            [](std::ostream& out, const void* at) { Write(out, *static_cast<const T*>(at)); },
            [](DataValue value, void* at) { *static_cast<T*>(at) = std::get<T>(std::move(value)); },
            field, fieldDefinition};
}

void WriteNumber(std::ostream& out, const int& value) {
    out << value;
}

void WriteNumber(std::ostream& out, const float& value) {
    out << value;
}

void WriteTruth(std::ostream& out, const bool& value) {
    out << (value ? "true" : "false");
}

// A bare space would end the token and cut the text short on reading; backslash-space keeps it,
// and the reader drops the backslash again. A backslash already before a space is kept as it is,
// so text read from a file is written back unchanged.
void WriteText(std::ostream& out, const std::string& text) {
    out << '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && (i == 0 || text[i - 1] != '\\')) {
            out << '\\';
        }
        out << text[i];
    }
    out << '"';
}

void WriteVector(std::ostream& out, const Vector2D& value) {
    out << value.x << ' ' << value.y;
}

constexpr ValueForm kWholeForm = FormOf<int, &WriteNumber>(platform::FieldType::Int);
// Edited in hundredths: the positions, speeds and sizes designers tune.
constexpr ValueForm kRealForm =
    FormOf<float, &WriteNumber>(platform::FieldType::Float, "step=0.01");
constexpr ValueForm kTruthForm = FormOf<bool, &WriteTruth>(platform::FieldType::Bool);
constexpr ValueForm kTextForm = FormOf<std::string, &WriteText>(platform::FieldType::Text);
constexpr ValueForm kVectorForm = FormOf<Vector2D, &WriteVector>(platform::FieldType::Struct);

[[maybe_unused]] const bool kPrimitivesRegistered = [] {
    RegisterPrimitive<int>("int", &DumpPrimitive<int>, &kWholeForm);
    RegisterPrimitive<int*>("int *", &DumpPrimitive<int*>);
    RegisterPrimitive<char>("char", &DumpPrimitive<char>);
    RegisterPrimitive<char*>("char *", &DumpPrimitive<char*>);
    RegisterPrimitive<double>("double", &DumpPrimitive<double>);
    RegisterPrimitive<float>("float", &DumpPrimitive<float>, &kRealForm);
    RegisterPrimitive<bool>("bool", &DumpPrimitive<bool>, &kTruthForm);
    RegisterPrimitive<std::string>("std::string", &DumpPrimitive<std::string>, &kTextForm);
    return true;
}();

}  // namespace

VORL_REGISTER_TYPE(Vector2D, "Vector2D") {
    VORL_MEMBERS(meta, x, y).Form(&kVectorForm);
}

VORL_REGISTER_TYPE(Vector3D, "Vector3D") {
    VORL_MEMBERS(meta, x, y, z);
}

VORL_REGISTER_TYPE(Vector4D, "Vector4D") {
    VORL_MEMBERS(meta, x, y, z, w);
}

VORL_REGISTER_TYPE(DebugSystem, "DebugSystem") {
    VORL_MEMBERS(meta, update);
}
