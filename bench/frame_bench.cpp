// One headless frame of the engine with 1,000 objects of five components each and 10,000 messages
// a frame, against a baseline that does the same work by hand: the same virtual calls over the
// same components and the same message allocations, with no engine around them.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/messaging.h"
#include "meta/meta_registration.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/headless_engine.h"
#include "support/ratio_main.h"

namespace {

constexpr int kObjects = 1000;
constexpr int kMessagesPerFrame = 10000;

// Five game-logic classes, so that every object holds five distinct components.
template <int N>
class Worker : public ComponentOf<Worker<N>, GameLogicComponent> {
public:
    void Update() override { counter += N; }
    int counter = 0;
};

using Worker0 = Worker<0>;
using Worker1 = Worker<1>;
using Worker2 = Worker<2>;
using Worker3 = Worker<3>;
using Worker4 = Worker<4>;
VORL_REGISTER_COMPONENT(Worker0) {}
VORL_REGISTER_COMPONENT(Worker1) {}
VORL_REGISTER_COMPONENT(Worker2) {}
VORL_REGISTER_COMPONENT(Worker3) {}
VORL_REGISTER_COMPONENT(Worker4) {}

template <class T>
void AddWorker(Object& object) {
    object.AddComponent(MetaTypeOf<T>().Name(), new T);
}

void SendFrameMessages(const std::vector<Object*>& objects) {
    for (int i = 0; i < kMessagesPerFrame; ++i) {
        Object* a = objects[i % objects.size()];
        Object* b = objects[(i * 7 + 3) % objects.size()];
        MessagingSystem::Send<CollisionMessage>(CollisionKind::Continues, a, b);
    }
}

void EngineFrame(benchmark::State& state) {
    testing_support::HeadlessEngine engine;
    MessagingSystem::Send<LevelStartedMessage>("bench");
    for (int i = 0; i < kObjects; ++i) {
        auto* object = new Object;
        object->SetName("Crate");
        AddWorker<Worker0>(*object);
        AddWorker<Worker1>(*object);
        AddWorker<Worker2>(*object);
        AddWorker<Worker3>(*object);
        AddWorker<Worker4>(*object);
        LevelObjects().push_back(object);
    }
    engine.RunFrames(2);
    const std::vector<Object*> objects = LevelObjects();
    for (auto _ : state) {
        SendFrameMessages(objects);
        engine.core().Update();
    }
    state.SetItemsProcessed(state.iterations());
}

void BaselineFrame(benchmark::State& state) {
    std::vector<std::unique_ptr<Object>> objects;
    std::vector<Component*> components;
    for (int i = 0; i < kObjects; ++i) {
        objects.push_back(std::make_unique<Object>());
        AddWorker<Worker0>(*objects.back());
        AddWorker<Worker1>(*objects.back());
        AddWorker<Worker2>(*objects.back());
        AddWorker<Worker3>(*objects.back());
        AddWorker<Worker4>(*objects.back());
        for (auto& [name, component] : objects.back()->GetComponents()) {
            components.push_back(component);
        }
    }
    std::vector<std::unique_ptr<Message>> queue;
    for (auto _ : state) {
        queue.clear();
        for (int i = 0; i < kMessagesPerFrame; ++i) {
            queue.push_back(std::make_unique<CollisionMessage>(
                CollisionKind::Continues, objects[i % kObjects].get(),
                objects[(i * 7 + 3) % kObjects].get()));
        }
        for (Component* component : components) {
            component->Update();
        }
        benchmark::DoNotOptimize(queue.data());
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(EngineFrame)->Name("frame_1000x5_10000msg/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK(BaselineFrame)->Name("frame_1000x5_10000msg/baseline")->Unit(benchmark::kMicrosecond);

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
