// One headless frame of a level at rest: 1,000 objects of five components each (a rigid body, a
// box collider and three game-logic components), 250 static floor tiles under 750 crates stacked
// three high, with the physics step running and its contacts reported every frame. The baseline
// is the same level's work without the engine around it: the physics step, the component updates
// and the message swap called by hand. Times are this thread's CPU time per frame, so that other
// work on a shared machine does not tilt the ratio.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/messaging.h"
#include "objects/component_registration.h"
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

constexpr int kTiles = 250;
constexpr int kStack = 3;
constexpr float kTileHalf = 16.0f;
// Narrower than a tile, so that neighbouring stacks never touch.
constexpr float kCrateHalf = 12.0f;
// Long enough for every stack to come to rest before the timing starts.
constexpr int kSettleFrames = 180;

// Three game-logic classes, so that with the body and the collider every object holds five
// distinct components.
template <int N>
class Worker : public ComponentOf<Worker<N>, GameLogicComponent> {
public:
    void Update() override { counter += N; }
    int counter = 0;
};

using Worker0 = Worker<0>;
using Worker1 = Worker<1>;
using Worker2 = Worker<2>;
VORL_REGISTER_COMPONENT(Worker0) {}
VORL_REGISTER_COMPONENT(Worker1) {}
VORL_REGISTER_COMPONENT(Worker2) {}

template <class T>
void AddWorker(Object& object) {
    object.AddComponent(MetaTypeOf<T>().Name(), new T);
}

void AddBox(const char* name, float x, float y, float half, bool dynamic) {
    auto* object = new Object;
    object->SetName(name);
    auto* body = new RigidBody2D;
    body->mass = dynamic ? 1.0f : 0.0f;
    body->state = dynamic ? RigidBody2D::kDynamic : 0;
    body->gravity = dynamic ? 600.0f : 0.0f;
    body->friction = 1000;
    object->AddComponent("RigidBody2D", body);
    object->AddComponent("BoxCollider2D", new BoxCollider2D);
    AddWorker<Worker0>(*object);
    AddWorker<Worker1>(*object);
    AddWorker<Worker2>(*object);
    object->GetTransform().SetScale({half, half});
    object->GetTransform().SetPosition({x, y});
    LevelObjects().push_back(object);
}

// Loads the level into `engine` and runs it until the stacks rest.
void LoadRestingLevel(testing_support::HeadlessEngine& engine) {
    // Two frames give the fixed 1/60 s frame time; the level is loaded after them.
    engine.RunFrames(2);
    for (int i = 0; i < kTiles; ++i) {
        const float x = 2.0f * kTileHalf * static_cast<float>(i);
        AddBox("Tile", x, 0.0f, kTileHalf, false);
        for (int level = 0; level < kStack; ++level) {
            const float y = kTileHalf + kCrateHalf + 2.0f * kCrateHalf * static_cast<float>(level);
            AddBox("Crate", x, y, kCrateHalf, true);
        }
    }
    MessagingSystem::Send<LevelObjectsLoadedMessage>();
    engine.RunFrames(kSettleFrames);
}

void EngineFrame(benchmark::State& state) {
    testing_support::HeadlessEngine engine;
    LoadRestingLevel(engine);
    auto& physics = *engine.core().Get<PhysicsSystem>("PhysicsSystem");
    for (auto _ : state) {
        const double start = ThreadSeconds();
        engine.core().Update();
        state.SetIterationTime(ThreadSeconds() - start);
    }
    state.counters["contacts"] = static_cast<double>(physics.LastPairs().size());
}

void BaselineFrame(benchmark::State& state) {
    testing_support::HeadlessEngine engine;
    LoadRestingLevel(engine);
    auto& physics = *engine.core().Get<PhysicsSystem>("PhysicsSystem");
    std::vector<Component*> logic;
    for (Object* object : LevelObjects()) {
        for (auto& [name, component] : object->GetComponents()) {
            if (name.rfind("Worker", 0) == 0) {
                logic.push_back(component);
            }
        }
    }
    for (auto _ : state) {
        const double start = ThreadSeconds();
        MessagingSystem::Update();
        physics.Update();
        for (Component* component : logic) {
            component->Update();
        }
        state.SetIterationTime(ThreadSeconds() - start);
    }
    state.counters["contacts"] = static_cast<double>(physics.LastPairs().size());
}

}  // namespace

BENCHMARK(EngineFrame)
    ->Name("level_1000x5_at_rest/engine")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BaselineFrame)
    ->Name("level_1000x5_at_rest/baseline")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
