// ValueForm: how data files hold a value of one member type and how the editor shows it, given
// once with the type's registration (meta/builtin_types.cpp). The reader decodes a value's text and
// stores it through the form, the writer writes it through the form and the editor's panels take
// its field, so a new member type is one registration rather than an edit in each of the three.
#pragma once

#include <iosfwd>
#include <string>
#include <variant>

#include "core/vector.h"
#include "platform/panel_layer.h"

// What the reader takes a value's text for; in the order of DataValue's alternatives.
enum class ValueKind { Text, Vector, Truth, Whole, Real };

// A value as the reader decoded it from its text.
using DataValue = std::variant<std::string, Vector2D, bool, int, float>;

struct ValueForm {
    ValueKind kind;
    // Writes the value's text alone; the writer puts the member's name and the spaces around it.
    void (*write)(std::ostream& out, const void* at);
    // Stores a decoded value of this form's kind at `at`.
    void (*store)(DataValue value, void* at);
    // The editor's field; a Struct field shows the panel structure named like the member's type.
    platform::FieldType field;
    const char* fieldDefinition;
};
