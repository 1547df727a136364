#include "editor/panel_types.h"

#include <cstddef>

#include "core/vector.h"
#include "meta/meta_type.h"
#include "meta/value_form.h"
#include "objects/component.h"
#include "objects/component_factory.h"

namespace PanelTypes {
namespace {

// A registered member as a panel member; false for a type data files do not hold.
bool ToPanelMember(const platform::PanelLayer& panels, const MetaMember& member,
                   platform::StructMember& out) {
    const ValueForm* form = member.Type().Form();
    if (!form) {
        return false;
    }
    out = {};
    out.name = member.Name();
    out.offset = member.Offset();
    out.type = form->field;
    out.definition = form->fieldDefinition;
    if (form->field == platform::FieldType::Struct) {
        out.structType = panels.FindStruct(member.Type().Name());
    }
    return true;
}

}  // namespace

platform::StructType DefineVector2D(platform::PanelLayer& panels) {
    const Vector2D sample;
    const auto offsetOf = [&sample](const float& member) {
        return static_cast<std::size_t>(reinterpret_cast<const char*>(&member) -
                                        reinterpret_cast<const char*>(&sample));
    };
    std::vector<platform::StructMember> members(2);
    members[0].name = "X";
    members[0].type = platform::FieldType::Float;
    members[0].offset = offsetOf(sample.x);
    members[1].name = "Y";
    members[1].type = platform::FieldType::Float;
    members[1].offset = offsetOf(sample.y);
    return panels.DefineStruct("Vector2D", sizeof(Vector2D), std::move(members));
}

void DefineComponentTypes(platform::PanelLayer& panels) {
    DefineVector2D(panels);
    for (const auto& [className, prototype] : ComponentFactory::All()) {
        const MetaType& type = prototype->GetMetaType();
        if (!type.IsEditable()) {
            continue;
        }
        std::vector<platform::StructMember> members;
        for (const MetaMember& member : type.Members()) {
            platform::StructMember panelMember;
            if (ToPanelMember(panels, member, panelMember)) {
                members.push_back(std::move(panelMember));
            }
        }
        panels.DefineStruct(className, type.Size(), std::move(members));
    }
}

platform::StructType TypeOf(const platform::PanelLayer& panels, std::string_view className) {
    const Component* prototype = ComponentFactory::Find(className);
    if (!prototype || !prototype->GetMetaType().IsEditable()) {
        return platform::kNoStruct;
    }
    return panels.FindStruct(std::string(className));
}

}  // namespace PanelTypes
