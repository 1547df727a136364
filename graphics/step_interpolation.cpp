#include "graphics/step_interpolation.h"

#include <cmath>

#include "core/angle.h"

void StepInterpolation::BeginStep() {
    before_.swap(noted_);
    noted_.clear();
}

void StepInterpolation::Note(const void* thing, const Pose& pose) {
    noted_[thing] = pose;
}

StepInterpolation::Pose StepInterpolation::Drawn(const void* thing, const Pose& latest,
                                                 double fraction) const {
    const auto before = before_.find(thing);
    if (before == before_.end()) {
        return latest;
    }
    const Pose& from = before->second;
    const Vector2D travel = latest.position - from.position;
    if (travel.SquaredLength() > kJump * kJump) {
        return latest;
    }
    // The short way round: a roll from 179 to -179 degrees turns two degrees, not 358.
    const float turn = std::remainder(latest.radians - from.radians, 2.0f * kPi);
    const auto t = static_cast<float>(fraction);
    return {from.position + travel * t, from.radians + turn * t};
}
