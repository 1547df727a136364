// Every gameplay class is in the factory under its data-file name, with its members in the data
// files' order and the defaults a level gets when it leaves a member out.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "levels/data_writer.h"
#include "objects/component.h"
#include "objects/component_factory.h"
#include "support/headless_engine.h"

namespace {

// The line the writer gives a default instance: class name, then each member's name and value.
const char* const kDefaults[] = {
    "PlayerControlComponent playerNum 0 hWeight 2.130000114 lWeight 1.200000048 hSpeed "
    "600.000000000 lSpeed 300.000000000 hjumpheight 750.000000000 ljumpheight 400.000000000 "
    "levelReset -384.000000000 active true spinTime 2.500000000 ",
    "FanComponent speed 10.000000000 ",
    "CannonComponent speed 5000.000000000 ",
    "GoalComponent unused 0 ",
    "StarComponent Donut 0 ",
    "BreakBlock BreakSpeed 0 ",
    "TeleporterComponent teleportLocation 0.000000000 0.000000000 ",
    "PuzzleBehavior React_Fan 1 React_Cannon 1 React_Goal 1 FanStrength 0.000000000 "
    "CannonStrength 0.000000000 ",
    "PuzzleComponent PuzzleID 0 Strength 0.000000000 0.000000000 ",
    "Reset resetPosition 0.000000000 0.000000000 endOfScreen 0.000000000 ",
    "CameraFollowComponent maxSpeed 20.000000000 startX 0 startY 0 maxX 512 minX -512 maxY 384 "
    "minY -384 ",
    "ObjectMoveComponent direction 0.000000000 0.000000000 ",
    "SplashScreenComponent timer 0.000000000 ",
    "PlayerControllerComponentVerticalShooter timer 0.000000000 ",
    "InvisibleComponent setVisible 0 ",
    "PresentationLockingDoor dontUse 0 ",
    "EndSkip sillyData 0 ",
    "Starfall check 0 ",
    "EndOfGame active false side false ",
    "FlyingStar speed 0.000000000 0.000000000 active false ",
    "FaceComponent ",
};

TEST(GameplayClasses, ALevelLineWithoutMembersGetsTheDesignedDefaults) {
    for (const std::string line : kDefaults) {
        const std::string name = line.substr(0, line.find(' '));
        const Component* prototype = ComponentFactory::Find(name);
        ASSERT_NE(prototype, nullptr) << name << " is not in the factory";
        const std::unique_ptr<Component> read(prototype->CreateFromTokens({name}));
        ASSERT_NE(read, nullptr) << name;
        std::ostringstream out;
        PrepareStream(out);
        WriteComponentLine(out, *read);
        EXPECT_EQ(out.str(), line + "\n");
    }
    // The announcements of these ownerless components must not reach a later engine.
    testing_support::ResetEngineState();
}

}  // namespace
