// StepInterpolation: where things are drawn when a frame falls between two simulation steps.
//
// The simulation moves objects and cameras in whole steps of 1/63 s. A machine whose frames do not
// line up with the steps (one drawing 40 frames a second runs one step in some frames and two in
// others) would show motion jumping one step on one frame and two on the next: a visible judder.
// So the graphics system notes the pose of everything it draws after each step, and a frame draws
// each thing the fraction of a step the clock has run past the last step, on from its pose after
// the step before toward its latest pose: everything a step behind the simulation, evenly. What is
// drawn never feeds back into the game. A thing that moved too far in one step to have travelled
// (a teleport, a restart, a recycled particle) is drawn where it is.
//
// Every drawn thing is noted every step, so the poses live in one open-addressed table that is
// reused from step to step: noting and drawing allocate nothing once a level's things are known.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/vector.h"

class StepInterpolation {
public:
    struct Pose {
        Vector2D position;
        float radians = 0.0f;
    };

    // Farther than this in one step is a jump, not motion.
    static constexpr float kJump = 128.0f;

    // At the end of a step, before its poses are noted: the poses noted after the step before
    // become the ones to draw from.
    void BeginStep();
    // The pose of `thing` after this step. A key is never reused for another thing (a creation
    // number, not an address: a thing made where one just died must not glide from its pose).
    void Note(std::uint64_t thing, const Pose& pose);
    // The pose to draw `thing` in, which stands at `latest` now, `fraction` (0 to 1) of a step on
    // from where it stood a step before; `latest` for a thing not seen a step before.
    Pose Drawn(std::uint64_t thing, const Pose& latest, double fraction) const;

private:
    struct Slot {
        std::uint64_t thing = 0;  // empty slot: creation numbers start at 1
        Pose before;                  // noted at step `beforeStep`
        Pose noted;                   // noted at step `notedStep`
        std::uint32_t beforeStep = 0;
        std::uint32_t notedStep = 0;
    };

    // The slot holding `thing`, or the empty one where it would go.
    Slot& Find(std::uint64_t thing);
    const Slot* Lookup(std::uint64_t thing) const;
    // Drops things not noted in this step or the one before, growing the table if it stays busy.
    void Rebuild();

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::uint32_t step_ = 1;  // steps are counted from 2, so 0 and 1 are never "the step before"
};
