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

#include <initializer_list>
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

// Boxes of one size laid out in rows and columns, `step` apart both ways from the first at
// (x, y); odd rows shifted right by `stagger`, as bricks are.
struct Grid {
    int rows, cols;
    float x, y, step, hx, hy;
    bool dynamic;
    float stagger = 0.0f;
};

std::vector<BoxLayout> Layout(std::initializer_list<Grid> grids) {
    std::vector<BoxLayout> boxes;
    for (const Grid& g : grids) {
        for (int row = 0; row < g.rows; ++row) {
            for (int col = 0; col < g.cols; ++col) {
                const float offset = row % 2 ? g.stagger : 0.0f;
                boxes.push_back(
                    {g.x + g.step * col + offset, g.y + g.step * row, g.hx, g.hy, g.dynamic});
            }
        }
    }
    return boxes;
}

// The scenes' grids: rows, columns, first box's x and y, step, half width and height, dynamic,
// stagger. The static floor first, then what falls on it.
std::vector<BoxLayout> TilesScene() {
    return Layout({{4, 500, 16, 16, 32, 16, 16, false}, {5, 10, 7800, 200, 40, 10, 10, true}});
}

std::vector<BoxLayout> PileScene() {
    return Layout({{1, 40, 16, 16, 32, 16, 16, false}, {20, 25, 360, 50, 22, 10, 10, true, 11}});
}

std::vector<BoxLayout> FieldScene() {
    return Layout({{1, 100, 75, 10, 150, 75, 10, false}, {4, 500, 20, 40, 30, 10, 10, true}});
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
