// Transform3D: plain three-dimensional position, rotation and scale; only the generic component
// machinery (reader, writer, editor, info echo) reads it.
#pragma once

#include "core/vector.h"
#include "objects/component_registration.h"

class Transform3D : public ComponentOf<Transform3D> {
public:
    void Update() override { EchoInfoIfSelected(); }
    void Print(std::ostream& out) const override;

    Vector3D position;
    Vector3D rotation;
    Vector3D scale;
    bool isstatic = false;
};
