// A broken promise takes the safe path in every build: the check says so, and the state is left
// as it was instead of being corrupted.
#include "core/check.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/clock.h"
#include "core/frame_rate_controller.h"
#include "core/message_reactions.h"
#include "core/messages.h"
#include "meta/meta_registration.h"
#include "meta/meta_value.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/check_listener.h"
#include "support/engine_test.h"
#include "support/test_components.h"

namespace {

class BrokenPromise : public testing_support::EngineTest {
protected:
    // Runs `act`, which must break one promise, and returns what standard error said.
    template <class Act>
    std::string Breaking(Act act) {
        const testing_support::ExpectedCheckFailures expected;
        testing::internal::CaptureStderr();
        act();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(expected.Count(), 1) << said;
        return said;
    }
};

TEST_F(BrokenPromise, AnObjectDestroyedTwiceIsBuriedOnce) {
    auto* object = new Object;
    object->AddComponent("EmptyComponent", new EmptyComponent);
    LevelObjects().push_back(object);
    object->Destroy();
    const std::size_t buried = Graveyard::ComponentCount();
    const std::string said = Breaking([&] { object->Destroy(); });
    EXPECT_EQ(Graveyard::ComponentCount(), buried);
    EXPECT_NE(said.find("an object is destroyed once"), std::string::npos) << said;
}

TEST_F(BrokenPromise, ANonPositiveStepLeavesTheStepAsItWas) {
    const double step = FrameRateController::GetDT();
    for (double bad : {0.0, -1.0 / 60.0}) {
        const std::string said = Breaking([&] { FrameRateController::UseStep(bad); });
        EXPECT_DOUBLE_EQ(FrameRateController::GetDT(), step);
        EXPECT_NE(said.find("the simulation step must be positive"), std::string::npos) << said;
    }
}

TEST_F(BrokenPromise, AFixedStepClockWithoutAStepStillMoves) {
    std::unique_ptr<timing::Clock> clock;
    Breaking([&] { clock = timing::MakeFixedStepClock(0.0); });
    const double start = clock->Now();
    clock->WaitPast(start);
    EXPECT_GT(clock->Now(), start);
}

TEST_F(BrokenPromise, ASecondReactionToOneMessageTypeLeavesTheFirst) {
    int first = 0;
    int second = 0;
    MessageReactions reactions;
    reactions.On({MessageType::LevelObjectsLoaded}, [&] { ++first; });
    Breaking([&] { reactions.On({MessageType::LevelObjectsLoaded}, [&] { ++second; }); });
    MessagingSystem::Queue queue;
    queue.push_back(std::make_unique<Message>(MessageType::LevelObjectsLoaded));
    reactions.ReactTo(queue);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

TEST_F(BrokenPromise, ACopyOfATypeThatCannotBeCopiedIsNone) {
    Object object;
    bool copied = true;
    Breaking([&] { copied = MetaValue::CopyOf(MetaTypeOf<Object>(), &object).has_value(); });
    EXPECT_FALSE(copied);
}

}  // namespace
