#include "graphics/step_interpolation.h"

#include <cmath>
#include <cstddef>

#include "core/angle.h"

namespace {

// Fibonacci hashing: creation numbers run in sequence, and the multiply spreads neighbours apart.
std::size_t SlotIndex(std::uint64_t thing, std::size_t mask) {
    return static_cast<std::size_t>((thing * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

constexpr std::size_t kFirstSlots = 256;

}  // namespace

void StepInterpolation::BeginStep() {
    ++step_;
}

StepInterpolation::Slot& StepInterpolation::Find(std::uint64_t thing) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = SlotIndex(thing, mask);; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.thing == thing || slot.thing == 0) {
            return slot;
        }
    }
}

const StepInterpolation::Slot* StepInterpolation::Lookup(std::uint64_t thing) const {
    if (slots_.empty()) {
        return nullptr;
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = SlotIndex(thing, mask);; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.thing == thing) {
            return &slot;
        }
        if (slot.thing == 0) {
            return nullptr;
        }
    }
}

void StepInterpolation::Rebuild() {
    std::vector<Slot> old;
    old.swap(slots_);
    std::size_t live = 0;
    for (const Slot& slot : old) {
        live += slot.thing != 0 && slot.notedStep + 1 >= step_ ? 1 : 0;
    }
    std::size_t size = kFirstSlots;
    while (size < live * 4) {
        size *= 2;
    }
    slots_.assign(size, Slot{});
    used_ = live;
    for (const Slot& slot : old) {
        if (slot.thing != 0 && slot.notedStep + 1 >= step_) {
            Find(slot.thing) = slot;
        }
    }
}

void StepInterpolation::Note(std::uint64_t thing, const Pose& pose) {
    // At most half full, so a probe always ends on an empty slot.
    if ((used_ + 1) * 2 > slots_.size()) {
        Rebuild();
    }
    Slot& slot = Find(thing);
    if (slot.thing == 0) {
        slot.thing = thing;
        ++used_;
    }
    if (slot.notedStep != step_) {
        slot.before = slot.noted;
        slot.beforeStep = slot.notedStep;
    }
    slot.noted = pose;
    slot.notedStep = step_;
}

StepInterpolation::Pose StepInterpolation::Drawn(std::uint64_t thing, const Pose& latest,
                                                 double fraction) const {
    const Slot* slot = Lookup(thing);
    const Pose* noted = nullptr;
    if (slot && slot->notedStep + 1 == step_) {
        noted = &slot->noted;
    } else if (slot && slot->notedStep == step_ && slot->beforeStep + 1 == step_) {
        noted = &slot->before;
    }
    if (!noted) {
        return latest;
    }
    const Pose& from = *noted;
    const Vector2D travel = latest.position - from.position;
    if (travel.SquaredLength() > kJump * kJump) {
        return latest;
    }
    // The short way round: a roll from 179 to -179 degrees turns two degrees, not 358.
    const float turn = latest.radians == from.radians
                           ? 0.0f
                           : std::remainder(latest.radians - from.radians, 2.0f * kPi);
    const auto t = static_cast<float>(fraction);
    return {from.position + travel * t, from.radians + turn * t};
}
