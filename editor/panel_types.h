// The panel structure types the editor shows members through: "Vector2D" (members "X" and "Y")
// and one type per editable component class, named by the class, with one member per registered
// member of type "int", "bool", "float" (edited in steps of 0.01), "Vector2D" or "std::string",
// in registration order; members of other types are left out. Only the classes listed here get a
// type; the editor shows no other class anywhere.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/panel_layer.h"

namespace PanelTypes {

// The editable classes, in the order their types are defined.
const std::vector<std::string>& EditableClasses();

platform::StructType DefineVector2D(platform::PanelLayer& panels);
// Defines the type of every editable class (once; later calls find the same types).
void DefineComponentTypes(platform::PanelLayer& panels);
// The type of `className`, or kNoStruct when it has none.
platform::StructType TypeOf(const platform::PanelLayer& panels, std::string_view className);

}  // namespace PanelTypes
