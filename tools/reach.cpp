// reach: what the player can do, measured for level designers. Runs the player as the assets
// define it (the first archetype carrying a PlayerControlComponent, with its members and body)
// headless at the game's step (1/63 s), one step a frame, on a flat floor of "Crate"
// objects, and prints a Markdown report: per form the top speed, the jump height, the length of a
// jump and the widest gap cleared from a standing and from a running start; the highest ledge each
// form gets onto, corner rolls included; how far and how high a cannon at 0, 45 and 90 degrees
// throws each form; how high fans of several "speed"s lift the light form.
//
//   reach <assets-folder> [--fallback <archetype-file>]
//
// Without a player archetype in the assets, the archetype file given by --fallback is used (and
// named in the report). The player keeps the archetype's scale, or 30 x 30 when it has none (the
// levels give the player its size). Exit status: 0, or 2 for usage or when there is no player to
// measure. docs/reach.md is this tool's output; regenerate it after changing the player or the
// physics.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <string>

#include "gameplay/cannon_component.h"
#include "meta/assets.h"
#include "objects/component_factory.h"
#include "objects/object_system.h"
#include "platform/services.h"
#include "tools/reach_bench.h"

namespace {

using namespace reach;

// Height above its rest at which the player counts as off the floor (more than a rolling box's
// corner lifts it).
constexpr float kClear = 15.0f;
constexpr float kCannonHeight = 300.0f;
// An upward speed no rolling reaches: the jump has gone off.
constexpr float kJumpStarted = 100.0f;
// A running jump is tried from this far before the player's edge reaches the gap, so that a
// refused press at a seam still leaves time for another.
constexpr float kJumpLead = 40.0f;
constexpr float kWidestGap = 3000.0f;
// The ledge the climb is measured on: its face, and how far it reaches beyond.
constexpr float kLedgeFace = 400.0f;
constexpr float kLedgeHalfWidth = 1000.0f;
constexpr float kHighestLedge = 600.0f;
// Running jumps at the ledge are tried from its face out to this far, in these steps.
constexpr float kLongestLead = 240.0f;
constexpr float kLeadStep = 8.0f;

struct Jump {
    float height = 0.0f;
    float distance = 0.0f;
};

float TopSpeed(Bench& bench, bool full) {
    bench.Start(full);
    bench.Press(VirtualKey::Right);
    float top = 0.0f;
    for (int i = 0; i < 10 * kFramesPerSecond; ++i) {
        bench.Frames(1);
        top = std::max(top, bench.Body().GetVelocity().x);
    }
    return top;
}

// Presses jump until it goes off and returns the take-off x. A jump needs the floor's permission,
// which a rolling full form loses for a frame at each seam between two crates.
float TakeOff(Bench& bench) {
    float takeOff = bench.X();
    for (int tries = 0; tries < 20 && bench.Body().GetVelocity().y < kJumpStarted; ++tries) {
        takeOff = bench.X();
        bench.Press(VirtualKey::Up);
        bench.Frames(1);
        bench.Release(VirtualKey::Up);
        if (bench.Body().GetVelocity().y < kJumpStarted) {
            bench.Frames(2);
        }
    }
    return takeOff;
}

// Whether the player gets across a gap of `gap` units: from standing at the edge (right and jump
// together), or after a run-up of 1600 units with the jump at the edge.
bool Clears(Bench& bench, bool full, bool running, float gap) {
    const float edge = -bench.HalfWidth();
    bench.Start(full, "", 0.0f, running ? -1600.0f : edge, gap);
    bench.Press(VirtualKey::Right);
    if (running) {
        bench.Until(20 * kFramesPerSecond, [&] { return bench.X() >= edge - kJumpLead; });
    }
    TakeOff(bench);
    for (int i = 0; i < 5 * kFramesPerSecond; ++i) {
        bench.Frames(1);
        if (bench.Y() < kFloorTop - 50.0f) {
            return false;
        }
        if (bench.TouchesFloor(gap)) {
            return true;
        }
    }
    return false;
}

// The widest gap cleared, to within a unit; kWidestGap when even that one is.
float GapCleared(Bench& bench, bool full, bool running) {
    if (Clears(bench, full, running, kWidestGap)) {
        return kWidestGap;
    }
    float cleared = 0.0f;
    float missed = kWidestGap;
    while (missed - cleared > 1.0f) {
        const float gap = std::floor((cleared + missed) * 0.5f);
        (Clears(bench, full, running, gap) ? cleared : missed) = gap;
    }
    return cleared;
}

// Jumps after `runFrames` of holding right (0: right and the jump start together) and follows the
// flight until the player touches the floor again.
Jump JumpFrom(Bench& bench, bool full, int runFrames, bool moving) {
    bench.Start(full);
    if (moving) {
        bench.Press(VirtualKey::Right);
        bench.Frames(runFrames);
    }
    const float takeOff = TakeOff(bench);
    Jump jump;
    bool rose = false;
    for (int i = 0; i < 10 * kFramesPerSecond; ++i) {
        bench.Frames(1);
        jump.height = std::max(jump.height, bench.Y() - bench.Rest());
        rose = rose || (bench.Y() > bench.Rest() + kClear && !bench.TouchesFloor());
        if (rose && bench.TouchesFloor()) {
            break;
        }
    }
    jump.distance = rose ? bench.X() - takeOff : 0.0f;
    return jump;
}

// Whether the player ends up on top of a ledge of crates `height` units over the floor, holding
// right throughout and jumping when its edge is `lead` units from the ledge's face: from standing
// against the face (lead 0), or after a run-up of 1600 units. A jump that brings only part of the
// player over the top edge rolls it up the corner, so this is the true reach, not the jump height.
bool Climbs(Bench& bench, bool full, float height, bool running, float lead) {
    std::ostringstream ledge;
    ledge << "Crate\n{\nTransform2D " << kLedgeFace + kLedgeHalfWidth << ' '
          << kFloorTop + height * 0.5f << " 0 " << kLedgeHalfWidth << ' ' << height * 0.5f
          << " 0\nRigidBody2D mass 0.0 state 0\nBoxCollider2D mHollow false\n}\n";
    const float touching = kLedgeFace - bench.HalfWidth();
    bench.Start(full, ledge.str(), 0.0f, running ? touching - 1600.0f : touching);
    bench.Press(VirtualKey::Right);
    bench.Until(20 * kFramesPerSecond, [&] { return bench.X() >= touching - lead; });
    TakeOff(bench);
    bench.Frames(3 * kFramesPerSecond);
    return bench.X() > kLedgeFace && bench.Y() > kFloorTop + height;
}

// The highest ledge climbed, to within a unit: standing against its face, or running and jumping
// at the best distance before it.
float LedgeClimbed(Bench& bench, bool full, bool running) {
    const auto climbs = [&](float height) {
        if (!running) {
            return Climbs(bench, full, height, false, 0.0f);
        }
        for (float lead = 0.0f; lead <= kLongestLead; lead += kLeadStep) {
            if (Climbs(bench, full, height, true, lead)) {
                return true;
            }
        }
        return false;
    };
    float climbed = 0.0f;
    float missed = kHighestLedge;
    while (missed - climbed > 1.0f) {
        const float height = std::floor((climbed + missed) * 0.5f);
        (climbs(height) ? climbed : missed) = height;
    }
    return climbed;
}

// Drops the player into a cannon 300 units above the floor and follows the throw until the player
// lands on the floor or falls back into the cannon: the peak above the cannon and the distance
// from it.
Jump Throw(Bench& bench, bool full, int degrees, float speed) {
    std::ostringstream cannon;
    cannon << "Cannon\n{\nTransform2D 0 " << kCannonHeight << " 0 40 40 "
           << degrees * 3.141593f / 180.0f
           << "\nRigidBody2D mass 0.0 state 0\nBoxCollider2D mHollow true\nCannonComponent speed "
           << std::fixed << speed << "\n}\n";
    bench.Start(full, cannon.str(), kCannonHeight + 100.0f);
    Jump jump;
    bench.Until(5 * kFramesPerSecond, [&] { return bench.Body().heldByCannon; });
    bench.Until(5 * kFramesPerSecond, [&] { return !bench.Body().heldByCannon; });
    const float from = bench.Y();
    bool left = false;
    for (int i = 0; i < 20 * kFramesPerSecond; ++i) {
        bench.Frames(1);
        jump.height = std::max(jump.height, bench.Y() - from);
        left = left || std::fabs(bench.Y() - from) > 50.0f || std::fabs(bench.X()) > 50.0f;
        if (left && (bench.Body().heldByCannon || bench.TouchesFloor())) {
            break;
        }
    }
    jump.distance = bench.X();
    return jump;
}

// The highest the light form gets over ten seconds in a fan column 600 units tall.
float FanLift(Bench& bench, float speed) {
    std::ostringstream fan;
    fan << "Fan\n{\nTransform2D 0 300 0 100 300 0\nRigidBody2D mass 0.0 state 0\n"
        << "BoxCollider2D mHollow true\nFanComponent speed " << speed << ".0\n}\n";
    bench.Start(false, fan.str());
    float highest = 0.0f;
    for (int i = 0; i < 10 * kFramesPerSecond; ++i) {
        bench.Frames(1);
        highest = std::max(highest, bench.Y() - bench.Rest());
    }
    return highest;
}

// The "speed" of the assets' "Cannon" archetype, or a new cannon's.
float CannonSpeed() {
    const Object* cannon = ArchetypeTable().Get("Cannon");
    const auto* component = cannon ? cannon->Get<CannonComponent>("CannonComponent") : nullptr;
    if (!component) {
        // The prototype: a cannon made here would announce itself to the game-logic system.
        component = static_cast<const CannonComponent*>(ComponentFactory::Find("CannonComponent"));
    }
    return component->speed;
}

// The first archetype with a player controller, in table order.
const Object* FindPlayerArchetype() {
    for (const auto& [name, archetype] : ArchetypeTable()) {
        if (archetype->HasComponent("PlayerControlComponent")) {
            return archetype;
        }
    }
    return nullptr;
}

const Object* LoadFallback(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        return nullptr;
    }
    auto* archetype = new Object;
    ReadArchetypeComponents(in, path, *archetype);
    archetype->SetName("Player1");
    archetype->SetArchetype(true);
    ArchetypeTable().Insert("Player1", archetype);
    return archetype;
}

// A measure as the report shows it: rounded to a whole number.
std::string Whole(float value) {
    return std::to_string(std::lround(value));
}

const char* FormName(bool full) {
    return full ? "full" : "half";
}

// One row of a Markdown table.
void Row(std::initializer_list<std::string> cells) {
    for (const std::string& cell : cells) {
        std::printf("| %s ", cell.c_str());
    }
    std::printf("|\n");
}

// A table's first row, its column names, and the rule under it.
void Head(std::initializer_list<std::string> names) {
    Row(names);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::printf("|---");
    }
    std::printf("|\n");
}

void RollingAndJumping(Bench& bench) {
    std::printf("## Rolling and jumping\n\n");
    std::printf(
        "Jump height: from rest, straight up. Jump length: ground covered in the air "
        "on a flat floor, back down to the same height (running: after two seconds of rolling). "
        "Gap: the widest gap between two "
        "crate floors the player gets across, standing at the edge (right and jump "
        "together) or after a run-up of 1600 units, jumping at the edge (within %.0f units).\n\n",
        kJumpLead);
    Head({"Form", "Top speed", "Jump height", "Jump length, standing", "Jump length, running",
          "Gap, standing", "Gap, running"});
    for (const bool full : {true, false}) {
        const float top = TopSpeed(bench, full);
        const Jump standing = JumpFrom(bench, full, 0, true);
        const Jump still = JumpFrom(bench, full, 0, false);
        const Jump running = JumpFrom(bench, full, 2 * kFramesPerSecond, true);
        const float gapStanding = GapCleared(bench, full, false);
        const float gapRunning = GapCleared(bench, full, true);
        Row({FormName(full), Whole(top), Whole(still.height), Whole(standing.distance),
             Whole(running.distance), Whole(gapStanding), Whole(gapRunning)});
    }
}

void Ledges(Bench& bench) {
    std::printf("\n## Ledges\n\n");
    std::printf(
        "The highest ledge of crates each form gets on top of, with right held throughout: "
        "jumping while pressed against its face, or after a run-up of 1600 units with the jump "
        "at the best distance before the face (tried every %.0f units out to %.0f). A jump that "
        "brings only part of the player over the edge rolls it up the corner, so these are "
        "higher than the jump heights above; a ledge meant to stop a form needs a margin over "
        "them.\n\n",
        kLeadStep, kLongestLead);
    Head({"Form", "Ledge, standing", "Ledge, running"});
    for (const bool full : {true, false}) {
        const float standing = LedgeClimbed(bench, full, false);
        const float running = LedgeClimbed(bench, full, true);
        Row({FormName(full), Whole(standing), Whole(running)});
    }
}

void Cannons(Bench& bench) {
    std::printf("\n## Cannons\n\n");
    const float cannonSpeed = CannonSpeed();
    std::printf(
        "A cannon of \"speed\" %.0f (the assets' \"Cannon\", else a new cannon's), %.0f "
        "units above the floor; the "
        "player drops in, is held 50 frames and thrown (0 degrees straight up, 90 to the "
        "right). Peak: highest point above the launch; distance: from the cannon to "
        "where the player lands on the floor (0 when it falls back into the cannon).\n\n",
        cannonSpeed, kCannonHeight);
    Head({"Form", "Rotation", "Peak", "Distance"});
    for (const bool full : {true, false}) {
        for (const int degrees : {0, 45, 90}) {
            const Jump thrown = Throw(bench, full, degrees, cannonSpeed);
            Row({FormName(full), std::to_string(degrees), Whole(thrown.height),
                 Whole(thrown.distance)});
        }
    }
}

void Fans(Bench& bench) {
    std::printf("\n## Fans\n\n");
    std::printf(
        "The light form in a fan column 600 units tall (the full form is never blown): "
        "the highest point reached above the floor in ten seconds.\n\n");
    Head({"Fan speed", "Height"});
    for (const float speed : {500.0f, 750.0f, 1000.0f, 1500.0f, 2000.0f, 3000.0f}) {
        Row({Whole(speed), Whole(FanLift(bench, speed))});
    }
}

void Report(Bench& bench, const Object& player, const std::string& source) {
    const auto& control = *player.Get<PlayerControlComponent>("PlayerControlComponent");
    const auto* body = player.Get<RigidBody2D>("RigidBody2D");
    std::printf("# Reach of the player\n\n");
    std::printf(
        "Measured by `tools/reach` on a flat floor of \"Crate\" objects, headless, at the real "
        "game's frame length (1/63 s). Distances and heights are world units, speeds units per "
        "second. Do not edit: regenerate (see the README).\n\n");
    std::printf(
        "Player: %s. Full form mass %.2f, drive %.0f, jump impulse %.0f; half form mass "
        "%.2f, drive and speed cap %.0f, jump speed %.0f; gravity %.0f, friction %d.\n\n",
        source.c_str(), control.hWeight, control.hSpeed, control.hjumpheight, control.lWeight,
        control.lSpeed, control.ljumpheight, body ? body->gravity : 0.0f,
        body ? body->friction : 0);
    RollingAndJumping(bench);
    Ledges(bench);
    Cannons(bench);
    Fans(bench);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: reach <assets-folder> [--fallback <archetype-file>]\n";
        return 2;
    }
    std::string fallback;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--fallback" && i + 1 < argc) {
            fallback = argv[++i];
        } else {
            std::cerr << "usage: reach <assets-folder> [--fallback <archetype-file>]\n";
            return 2;
        }
    }
    Assets::SetRoot(argv[1]);
    platform::Services services = platform::MakeHeadlessServices(kGameFrameTime);
    FrameRateController::UseStep(kGameFrameTime);
    auto window = std::make_unique<testing_support::ScriptedWindow>();
    testing_support::ScriptedWindow& keys = *window;
    services.window = std::move(window);
    Core core(std::move(services));
    core.Update();
    // No textures: nothing is drawn, and their loading notes would mix with the report.
    LoadArchetypes();
    // The measurements build their own levels: the level sequence must not start the game's.
    MessagingSystem::Reset();

    const Object* player = FindPlayerArchetype();
    std::string source;
    if (player) {
        source = "archetype \"" + player->GetName() + "\" of the assets";
    } else if (!fallback.empty() && (player = LoadFallback(fallback))) {
        source = "the fallback fixture `" + fallback + "` (the assets have no player archetype)";
    } else {
        std::cerr << "reach: no archetype with a PlayerControlComponent in " << argv[1]
                  << (fallback.empty() ? "" : " and no readable fallback") << "\n";
        return 2;
    }
    Bench bench(core, keys, *player);
    Report(bench, *player, source);
    std::fflush(stdout);
    core.Shutdown();
    DestroyAllArchetypes();
    return 0;
}
