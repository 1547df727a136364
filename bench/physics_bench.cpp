// The physics step against Box2D 2.4 on the same three scenes, each stepped 120 times (two seconds
// at 60 Hz) from the same start: boxes fall, land and come to rest. Box2D runs with its usual
// settings (8 velocity and 3 position iterations, sleeping on); our step runs as in the game, with
// the contact messages it sends delivered through the queue each frame.
//
//   tiles: 50 dynamic boxes falling onto a floor of 2,000 static tiles
//   pile:  500 dynamic boxes in an interlocked pile on a floor
//   field: 2,000 dynamic boxes spread wide over a long floor
//
// Times are per iteration (120 steps), measured as this thread's CPU time so that other work on a
// shared machine does not tilt the race; the ratio table divides ours by Box2D's.
#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/messaging.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/colliders.h"
#include "physics/physics_system.h"
#include "physics/rigid_body2d.h"
#include "support/headless_engine.h"
#include "support/ratio_main.h"
#include "support/thread_clock.h"

namespace {

using bench_support::ThreadSeconds;

constexpr int kSteps = 120;
// Box2D works in metres: 20 pixels to the metre keeps its boxes near one metre.
constexpr float kPixelsPerMetre = 20.0f;
constexpr float kGravity = 600.0f;

struct BoxLayout {
    float x, y, hx, hy;
    bool dynamic;
};

std::vector<BoxLayout> TilesScene() {
    std::vector<BoxLayout> boxes;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 500; ++col) {
            boxes.push_back({16.0f + 32.0f * col, 16.0f + 32.0f * row, 16, 16, false});
        }
    }
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 10; ++col) {
            boxes.push_back({7800.0f + 40.0f * col, 200.0f + 40.0f * row, 10, 10, true});
        }
    }
    return boxes;
}

std::vector<BoxLayout> PileScene() {
    std::vector<BoxLayout> boxes;
    for (int col = 0; col < 40; ++col) {
        boxes.push_back({16.0f + 32.0f * col, 16.0f, 16, 16, false});
    }
    for (int row = 0; row < 20; ++row) {
        for (int col = 0; col < 25; ++col) {
            const float offset = row % 2 ? 11.0f : 0.0f;
            boxes.push_back({360.0f + 22.0f * col + offset, 50.0f + 22.0f * row, 10, 10, true});
        }
    }
    return boxes;
}

std::vector<BoxLayout> FieldScene() {
    std::vector<BoxLayout> boxes;
    for (int slab = 0; slab < 100; ++slab) {
        boxes.push_back({75.0f + 150.0f * slab, 10.0f, 75, 10, false});
    }
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 500; ++col) {
            boxes.push_back({20.0f + 30.0f * col, 40.0f + 30.0f * row, 10, 10, true});
        }
    }
    return boxes;
}

// --- ours -----------------------------------------------------------------------------------

void BuildOurs(const std::vector<BoxLayout>& boxes) {
    for (const BoxLayout& box : boxes) {
        auto* object = new Object;
        object->SetName(box.dynamic ? "Crate" : "Tile");
        auto* body = new RigidBody2D;
        body->mass = box.dynamic ? 1.0f : 0.0f;
        body->state = box.dynamic ? 1 : 0;
        body->gravity = box.dynamic ? kGravity : 0.0f;
        body->friction = 1000;
        object->AddComponent("RigidBody2D", body);
        object->AddComponent("BoxCollider2D", new BoxCollider2D);
        object->GetTransform().SetScale({box.hx, box.hy});
        object->GetTransform().SetPosition({box.x, box.y});
        LevelObjects().push_back(object);
    }
    MessagingSystem::Send<LevelObjectsLoadedMessage>();
}

void Ours(benchmark::State& state, std::vector<BoxLayout> (*scene)()) {
    const std::vector<BoxLayout> boxes = scene();
    std::size_t contacts = 0;
    for (auto _ : state) {
        auto engine = std::make_unique<testing_support::HeadlessEngine>();
        // Two frames give the fixed 1/60 s frame time; the level is loaded after them.
        engine->RunFrames(2);
        auto& physics = *engine->core().Get<PhysicsSystem>("PhysicsSystem");
        BuildOurs(boxes);
        const double start = ThreadSeconds();
        for (int step = 0; step < kSteps; ++step) {
            MessagingSystem::Update();
            physics.Update();
        }
        state.SetIterationTime(ThreadSeconds() - start);
        contacts = physics.LastPairs().size();
        engine.reset();
    }
    state.counters["contacts_at_end"] = static_cast<double>(contacts);
}

// --- Box2D ----------------------------------------------------------------------------------

void Box2D(benchmark::State& state, std::vector<BoxLayout> (*scene)()) {
    const std::vector<BoxLayout> boxes = scene();
    int contacts = 0;
    for (auto _ : state) {
        auto world = std::make_unique<b2World>(b2Vec2(0.0f, -kGravity / kPixelsPerMetre));
        for (const BoxLayout& box : boxes) {
            b2BodyDef def;
            def.type = box.dynamic ? b2_dynamicBody : b2_staticBody;
            def.position.Set(box.x / kPixelsPerMetre, box.y / kPixelsPerMetre);
            b2Body* body = world->CreateBody(&def);
            b2PolygonShape shape;
            shape.SetAsBox(box.hx / kPixelsPerMetre, box.hy / kPixelsPerMetre);
            body->CreateFixture(&shape, box.dynamic ? 1.0f : 0.0f);
        }
        const double start = ThreadSeconds();
        for (int step = 0; step < kSteps; ++step) {
            world->Step(1.0f / 60.0f, 8, 3);
        }
        state.SetIterationTime(ThreadSeconds() - start);
        contacts = world->GetContactCount();
        world.reset();
    }
    state.counters["contacts_at_end"] = contacts;
}

// Each scene raced by both contenders, the baseline first.
[[maybe_unused]] const bool kRegistered = [] {
    using Scene = std::vector<BoxLayout> (*)();
    using Contender = void (*)(benchmark::State&, Scene);
    const std::pair<const char*, Scene> scenes[] = {
        {"tiles", TilesScene}, {"pile", PileScene}, {"field", FieldScene}};
    const std::pair<const char*, Contender> contenders[] = {{"box2d", Box2D}, {"ours", Ours}};
    for (const auto& [scene, build] : scenes) {
        for (const auto& [contender, run] : contenders) {
            benchmark::RegisterBenchmark((std::string(scene) + "/" + contender).c_str(), run, build)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace

VORL_BENCHMARK_MAIN_WITH_RATIOS("box2d")
