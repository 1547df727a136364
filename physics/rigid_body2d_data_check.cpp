// The reader's check of a rigid body built from a data file, kept apart from the integration.
#include "physics/rigid_body2d.h"

#include <string>

// A dynamic rigid body divides by its mass and its friction every step, so zero in either would
// fill the level with NaN positions.
std::string RigidBody2D::DataProblem() const {
    if (IsDynamic() && mass == 0.0f) {
        return "a dynamic RigidBody2D (state 1) needs a non-zero \"mass\"";
    }
    if (IsDynamic() && friction == 0) {
        return "a dynamic RigidBody2D (state 1) needs a non-zero \"friction\"";
    }
    return {};
}

// Damping stops a body dead each frame when its friction is below the frame rate.
std::string RigidBody2D::DataDoubt() const {
    if (IsDynamic() && friction < kLivelyFriction) {
        return "a dynamic RigidBody2D with \"friction\" " + std::to_string(friction) + " (below " +
               std::to_string(kLivelyFriction) + ") stops dead every frame; the body still loads";
    }
    return {};
}
