#include "physics/transform3d.h"

#include <ostream>

VORL_REGISTER_COMPONENT(Transform3D) {
    VORL_MEMBERS(meta, position, rotation, scale, isstatic);
}

namespace {
void PrintVector3(std::ostream& out, const Vector3D& v) {
    out << "( " << v.x << ", " << v.y << ", " << v.z << ")" << '\n' << '\n';
}
}  // namespace

void Transform3D::Print(std::ostream& out) const {
    out << "Position: ";
    PrintVector3(out, position);
    out << "Rotation: ";
    PrintVector3(out, rotation);
    out << "Scale: ";
    PrintVector3(out, scale);
}
