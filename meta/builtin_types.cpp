// Registration of the registry's non-component types: the primitives, the vectors, Object and the
// systems that expose an "update" switch.
#include <string>

#include "core/debug_system.h"
#include "core/vector.h"
#include "editor/level_editor.h"
#include "meta/meta_registration.h"
#include "meta/meta_value.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "physics/physics_system.h"

namespace {

[[maybe_unused]] const bool kPrimitivesRegistered = [] {
    RegisterPrimitive<int>("int", &DumpPrimitive<int>);
    RegisterPrimitive<int*>("int *", &DumpPrimitive<int*>);
    RegisterPrimitive<char>("char", &DumpPrimitive<char>);
    RegisterPrimitive<char*>("char *", &DumpPrimitive<char*>);
    RegisterPrimitive<double>("double", &DumpPrimitive<double>);
    RegisterPrimitive<float>("float", &DumpPrimitive<float>);
    RegisterPrimitive<bool>("bool", &DumpPrimitive<bool>);
    RegisterPrimitive<std::string>("std::string", &DumpPrimitive<std::string>);
    return true;
}();

}  // namespace

VORL_REGISTER_TYPE(Vector2D, "Vector2D") {
    meta.Member("x", &Vector2D::x).Member("y", &Vector2D::y);
}

VORL_REGISTER_TYPE(Vector3D, "Vector3D") {
    meta.Member("x", &Vector3D::x).Member("y", &Vector3D::y).Member("z", &Vector3D::z);
}

VORL_REGISTER_TYPE(Vector4D, "Vector4D") {
    meta.Member("x", &Vector4D::x)
        .Member("y", &Vector4D::y)
        .Member("z", &Vector4D::z)
        .Member("w", &Vector4D::w);
}

VORL_REGISTER_TYPE(Object, "Object") {
    meta.Member("filename", &Object::filename)
        .UnnamedMember("vertexCount", &Object::vertexCount)
        .Member("horizontalFlip", &Object::horizontalFlip)
        .Member("transform", &Object::transform)
        .UnnamedMember("myInfo", &Object::myInfo)
        .Member("verticalFlip", &Object::verticalFlip)
        .Member("isSelected", &Object::isSelected);
}

VORL_REGISTER_TYPE(DebugSystem, "DebugSystem") {
    meta.Member("update", &DebugSystem::update);
}
VORL_REGISTER_TYPE(ObjectSystem, "ObjectSystem") {
    meta.Member("update", &ObjectSystem::update);
}
VORL_REGISTER_TYPE(PhysicsSystem, "PhysicsSystem") {
    meta.Member("update", &PhysicsSystem::update);
}
VORL_REGISTER_TYPE(LevelEditor, "LevelEditor") {
    meta.Member("update", &LevelEditor::update);
}
