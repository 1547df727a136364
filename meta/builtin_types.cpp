// Registration of the types that live below the registry: the primitives, core's vectors and
// core's DebugSystem (core cannot include meta, so meta registers them). Every other type is
// registered next to its class.
#include <string>

#include "core/debug_system.h"
#include "core/vector.h"
#include "meta/meta_registration.h"
#include "meta/meta_value.h"

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

VORL_REGISTER_TYPE(DebugSystem, "DebugSystem") {
    meta.Member("update", &DebugSystem::update);
}
