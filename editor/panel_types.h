// The panel structure types the editor shows members through: "Vector2D" (members "X" and "Y")
// and one type per component class registered as editable, named by the class, with one member
// per registered member whose type data files hold ("int", "bool", "float" edited in steps of
// 0.01, "Vector2D", "std::string"; the field comes with the type's form, meta/value_form.h), in
// registration order; members of other types are left out. The editor shows no other class
// anywhere.
#pragma once

#include <string>
#include <string_view>

#include "platform/panel_layer.h"

namespace PanelTypes {

platform::StructType DefineVector2D(platform::PanelLayer& panels);
// Defines the type of every editable class (once; later calls find the same types).
void DefineComponentTypes(platform::PanelLayer& panels);
// The type of `className`, or kNoStruct when it has none.
platform::StructType TypeOf(const platform::PanelLayer& panels, std::string_view className);

}  // namespace PanelTypes
