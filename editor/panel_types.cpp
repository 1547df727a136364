#include "editor/panel_types.h"

#include <algorithm>
#include <cstddef>

#include "core/vector.h"
#include "meta/component_factory.h"
#include "meta/meta_type.h"
#include "objects/component.h"

namespace PanelTypes {
namespace {

// A registered member as a panel member; false for a type the panel cannot show.
bool ToPanelMember(const MetaMember& member, platform::StructType vector2D,
                   platform::StructMember& out) {
    const std::string& type = member.Type().Name();
    out = {};
    out.name = member.Name();
    out.offset = member.Offset();
    if (type == "int") {
        out.type = platform::FieldType::Int;
    } else if (type == "bool") {
        out.type = platform::FieldType::Bool;
    } else if (type == "float") {
        out.type = platform::FieldType::Float;
        out.definition = "step=0.01";
    } else if (type == "Vector2D") {
        out.type = platform::FieldType::Struct;
        out.structType = vector2D;
    } else if (type == "std::string") {
        out.type = platform::FieldType::Text;
    } else {
        return false;
    }
    return true;
}

}  // namespace

const std::vector<std::string>& EditableClasses() {
    static const std::vector<std::string> classes = {
        "PlayerControlComponent",
        "RigidBody2D",
        "Transform2D",
        "TextureComponent",
        "BoxCollider2D",
        "ChangeLevelButtonComponent",
        "FanComponent",
        "CannonComponent",
        "GoalComponent",
        "PresentationLockingDoor",
        "BreakBlock",
        "AudioComponent",
        "CircleCollider2D",
        "OnGUIComponent",
        "LightingShaderComponent",
        "InvisibleComponent",
        "CameraFollowComponent",
        "OneWay",
        "Reset",
        "ParticleEmitterComponent",
        "StarComponent",
        "PlayerControllerComponentVerticalShooter",
        "TeleporterComponent",
        "ColoredSquareComponent",
        "EndOfGame",
        "FlyingStar",
        "Starfall",
        "EndSkip",
        "LoopingBackgroundComponent",
    };
    return classes;
}

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
    const platform::StructType vector2D = DefineVector2D(panels);
    for (const std::string& className : EditableClasses()) {
        const Component* prototype = ComponentFactory::Find(className);
        if (!prototype) {
            // A class not built into this program yet.
            continue;
        }
        const MetaType& type = prototype->GetMetaType();
        std::vector<platform::StructMember> members;
        for (const MetaMember& member : type.Members()) {
            platform::StructMember panelMember;
            if (ToPanelMember(member, vector2D, panelMember)) {
                members.push_back(std::move(panelMember));
            }
        }
        panels.DefineStruct(className, type.Size(), std::move(members));
    }
}

platform::StructType TypeOf(const platform::PanelLayer& panels, std::string_view className) {
    const auto& classes = EditableClasses();
    if (std::find(classes.begin(), classes.end(), className) == classes.end()) {
        return platform::kNoStruct;
    }
    return panels.FindStruct(std::string(className));
}

}  // namespace PanelTypes
