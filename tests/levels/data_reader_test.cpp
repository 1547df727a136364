// The readers over real files in a temporary assets folder: the level state machine, archetypes,
// first-wins tables and the diagnostics of bad lines.
#include "levels/data_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messaging.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/asset_folder.h"
#include "support/engine_test.h"
#include "support/test_components.h"

namespace {

using testing_support::CapturedDiagnostics;
using testing_support::TempAssets;

class ReaderTest : public testing_support::EngineTest {
protected:
    std::vector<std::string> LevelNames() const {
        std::vector<std::string> names;
        for (const Object* o : LevelObjects()) {
            names.push_back(o->GetName());
        }
        return names;
    }

    // Whether a message of `type` was sent since the last swap.
    static bool Sent(MessageType type) {
        MessagingSystem::Update();
        for (const auto& m : MessagingSystem::GetMessages()) {
            if (m->type == type) {
                return true;
            }
        }
        return false;
    }

    TempAssets assets;
    CapturedDiagnostics diagnostics;
};

const char* const kTwoBlocks =
    "Crate\n"
    "{\n"
    "Transform2D 100.000000000 -50.000000000 1.000000000 64.000000000 32.000000000 1.570796371\n"
    "RigidBody2D mass 1.000000000 velocity 0.000000000 0.000000000 state 1 active true "
    "bounciness 0.000000000 friction 100 gravity 600.000000000 \n"
    "TestSign caption \"a\\ crate\" \n"
    "}\n"
    "\n"
    "Player 1\n"
    "{\n"
    "Transform2D 0.000000000 0.000000000 0.000000000 1.000000000 1.000000000 0.000000000\n"
    "}\n";

TEST_F(ReaderTest, ALevelFileAppendsItsObjectsInOrderAndSendsLevelObjectsLoaded) {
    assets.Write("level_Test", kTwoBlocks);
    LoadLevel("level_Test");
    EXPECT_TRUE(Sent(MessageType::LevelObjectsLoaded));
    ASSERT_EQ(LevelNames(), (std::vector<std::string>{"Crate", "Player 1"}));
    EXPECT_TRUE(diagnostics.Lines().empty()) << diagnostics.Lines().front();

    const Object& crate = *LevelObjects()[0];
    EXPECT_TRUE(crate.IsVisible());
    EXPECT_FALSE(crate.IsArchetype());
    EXPECT_EQ(crate.GetTransform().GetPosition(), (Vector2D{100.0f, -50.0f}));
    EXPECT_EQ(crate.GetTransform().GetZLayer(), 1.0f);
    EXPECT_EQ(crate.GetTransform().GetScale(), (Vector2D{64.0f, 32.0f}));
    EXPECT_EQ(crate.GetTransform().GetRotationDegrees(), 90);
    // The embedded transform is set; no Transform2D component is added.
    EXPECT_FALSE(crate.HasComponent("Transform2D"));
    ASSERT_NE(crate.Get<RigidBody2D>("RigidBody2D"), nullptr);
    EXPECT_EQ(crate.Get<RigidBody2D>("RigidBody2D")->gravity, 600.0f);
    EXPECT_EQ(crate.Get<TestSign>("TestSign")->caption, "a crate");
    EXPECT_EQ(crate.Get<TestSign>("TestSign")->GetOwner(), &crate);

    // Loading again appends; clearing is the caller's task.
    LoadLevel("level_Test");
    EXPECT_EQ(LevelObjects().size(), 4u);
}

TEST_F(ReaderTest, WindowsLineEndsReadTheSame) {
    std::string crlf;
    for (char c : std::string(kTwoBlocks)) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    assets.Write("level_Crlf", crlf);
    LoadLevel("level_Crlf");
    EXPECT_EQ(LevelNames(), (std::vector<std::string>{"Crate", "Player 1"}));
    EXPECT_EQ(LevelObjects()[0]->Get<TestSign>("TestSign")->caption, "a crate");
}

TEST_F(ReaderTest, AMissingLevelFileLoadsNothingButStillSendsItsMessage) {
    LoadLevel("level_Absent");
    EXPECT_TRUE(LevelObjects().empty());
    EXPECT_TRUE(Sent(MessageType::LevelObjectsLoaded));
}

TEST_F(ReaderTest, ALastBlockWithoutItsClosingBraceLosesItsObject) {
    assets.Write("level_Open", "A\n{\n}\nB\n{\nTestSign \n");
    LoadLevel("level_Open");
    EXPECT_EQ(LevelNames(), (std::vector<std::string>{"A"}));
    ASSERT_EQ(diagnostics.Lines().size(), 1u);
    EXPECT_NE(diagnostics.Lines()[0].find("level_Open:4: object \"B\" has no closing"),
              std::string::npos)
        << diagnostics.Lines()[0];
}

TEST_F(ReaderTest, TwoNameLinesInARowDropTheFirstObject) {
    assets.Write("level_Names", "First\nSecond\n{\n}\n");
    LoadLevel("level_Names");
    EXPECT_EQ(LevelNames(), (std::vector<std::string>{"Second"}));
    ASSERT_EQ(diagnostics.Lines().size(), 1u);
    EXPECT_NE(diagnostics.Lines()[0].find(":1: object \"First\" has no block"), std::string::npos);
}

TEST_F(ReaderTest, ABlockBeforeAnyNameLineIsSkippedLineByLine) {
    assets.Write(
        "level_Nameless",
        "{\nTransform2D 1.0 2.0 3.0 4.0 5.0 0.0\nTestSign \n}\nKept\n{\n}\n{\nTestSign \n}\n");
    LoadLevel("level_Nameless");
    // The second nameless block, after a closed one, must not reopen "Kept".
    EXPECT_EQ(LevelNames(), (std::vector<std::string>{"Kept"}));
    EXPECT_FALSE(LevelObjects()[0]->HasComponent("TestSign"));
    EXPECT_EQ(diagnostics.Lines().size(), 5u);
    EXPECT_TRUE(diagnostics.Contains("level_Nameless:1: a block with no name line"));
    EXPECT_TRUE(diagnostics.Contains("level_Nameless:3: line inside a block that has no name"));
    EXPECT_TRUE(diagnostics.Contains("level_Nameless:9: line inside a block"));
}

TEST_F(ReaderTest, EveryBadLineGetsOneDiagnosticAndTheRestOfTheFileStillLoads) {
    assets.Write("level_Bad",
                 "Obj\n"
                 "{\n"
                 "Transform2D 1.0 2.0 3.0\n"                   // 3: short transform
                 "NoSuchComponent speed 1.0 \n"                // 4: unknown class
                 "TestSign count 2.5 \n"                       // 5: kind mismatch
                 "RigidBody2D mass abc \n"                     // 6: conversion
                 "RigidBody2D state 1 mass 0.0 \n"             // 7: dynamic, mass 0
                 "RigidBody2D state 1 mass 2.0 friction 0 \n"  // 8: dynamic, friction 0
                 "RigidBody2D state 1 mass 2.0 \n"             // good
                 "RigidBody2D state 0 mass 9.0 \n"             // 10: second body
                 "TestSign count\n"                            // 11: name with no value
                 "Transform2D 1.0 2.0 3.0 4.0 5.0 x\n"         // 12: conversion
                 "Transform2D 1.0 2.0 3.0 4.0 5.0 1e30\n"      // 13: rotation range
                 "\n"                                          // blank: ignored
                 "TestSign caption \"ok\" \n"                  // good
                 "}\n"
                 "After\n{\n}\n");
    LoadLevel("level_Bad");
    EXPECT_EQ(LevelNames(), (std::vector<std::string>{"Obj", "After"}));
    const Object& obj = *LevelObjects()[0];
    EXPECT_EQ(obj.Get<RigidBody2D>("RigidBody2D")->mass, 2.0f);
    EXPECT_EQ(obj.Get<TestSign>("TestSign")->caption, "ok");
    EXPECT_EQ(obj.GetTransform().GetPosition(), (Vector2D{}));

    const std::vector<int> expectedLines = {3, 4, 5, 6, 7, 8, 10, 11, 12, 13};
    ASSERT_EQ(diagnostics.Lines().size(), expectedLines.size());
    for (std::size_t i = 0; i < expectedLines.size(); ++i) {
        const std::string prefix =
            assets.Folder().string() + "/level_Bad:" + std::to_string(expectedLines[i]) + ": ";
        EXPECT_EQ(diagnostics.Lines()[i].rfind(prefix, 0), 0u) << diagnostics.Lines()[i];
    }
    EXPECT_TRUE(diagnostics.Contains("six numbers"));
    EXPECT_TRUE(diagnostics.Contains("unknown component class \"NoSuchComponent\""));
    EXPECT_TRUE(diagnostics.Contains("not a number"));
    EXPECT_TRUE(diagnostics.Contains("non-zero \"mass\""));
    EXPECT_TRUE(diagnostics.Contains("non-zero \"friction\""));
    EXPECT_TRUE(diagnostics.Contains("a second RigidBody2D line"));
    EXPECT_TRUE(diagnostics.Contains("rotation out of range"));
}

TEST_F(ReaderTest, ADynamicBodyTooLowInFrictionIsNamedAndStillLoads) {
    assets.Write("level_Slow",
                 "Slow\n{\n"
                 "RigidBody2D state 1 mass 1.0 friction 10 \n"  // 3: stops dead every frame
                 "}\n"
                 "Lively\n{\n"
                 "RigidBody2D state 1 mass 1.0 friction 63 \n"
                 "}\n"
                 "Wall\n{\n"
                 "RigidBody2D state 0 mass 0.0 friction 10 \n"  // static: friction unused
                 "}\n");
    LoadLevel("level_Slow");
    ASSERT_EQ(LevelObjects().size(), 3u);
    EXPECT_EQ(LevelObjects()[0]->Get<RigidBody2D>("RigidBody2D")->friction, 10);
    ASSERT_EQ(diagnostics.Lines().size(), 1u);
    EXPECT_TRUE(diagnostics.Contains("level_Slow:3: a dynamic RigidBody2D with \"friction\" 10"));
}

TEST_F(ReaderTest, ATooLongLineEndsTheLevelFileThere) {
    assets.Write("level_Long", "A\n{\n}\nB\n{\n" + std::string(1500, 'x') + "\n}\nC\n{\n}\n");
    LoadLevel("level_Long");
    // B's block never closes, so B is lost with everything after the long line.
    EXPECT_EQ(LevelNames(), (std::vector<std::string>{"A"}));
    EXPECT_TRUE(diagnostics.Contains("level_Long:6: line longer than 1023"));
    EXPECT_TRUE(diagnostics.Contains("object \"B\" has no closing"));
}

TEST_F(ReaderTest, NegativeRotationsSurviveTheirRadianForm) {
    for (int degrees = -360; degrees <= 360; ++degrees) {
        Transform2D t;
        t.SetRotationDegrees(degrees);
        char text[64];
        std::snprintf(text, sizeof text, "%.9f", t.GetRotationRadians());
        int back = 0;
        ASSERT_TRUE(LevelRotationDegrees(std::strtof(text, nullptr), back));
        EXPECT_EQ(back, degrees) << text;
    }
}

TEST_F(ReaderTest, ArchetypesAreNamedFlaggedAndFiledFirstWins) {
    assets.Write("Objects", "Sign\nBare\nMissing\n\nSign\n");
    assets.Write("Sign", "TestSign caption \"hello\" \nTransform2D\n");
    assets.Write("Bare", "");
    LoadArchetypes();
    EXPECT_TRUE(Sent(MessageType::ArchetypesLoaded));

    auto& table = ArchetypeTable();
    EXPECT_EQ(table.Size(), 3u);
    const Object* sign = table.Get("Sign");
    ASSERT_NE(sign, nullptr);
    EXPECT_TRUE(sign->IsArchetype());
    EXPECT_EQ(sign->GetName(), "Sign");
    EXPECT_EQ(sign->Get<TestSign>("TestSign")->caption, "hello");
    // A bare "Transform2D" line gives a default Transform2D component in the table.
    ASSERT_NE(sign->Get<Transform2D>("Transform2D"), nullptr);
    EXPECT_EQ(sign->Get<Transform2D>("Transform2D")->GetScale(), (Vector2D{}));
    // A missing file still gives an archetype, and says so; an empty line names none.
    ASSERT_NE(table.Get("Missing"), nullptr);
    EXPECT_TRUE(table.Get("Missing")->GetComponents().Empty());
    EXPECT_FALSE(table.Contains(""));
    EXPECT_TRUE(LevelObjects().empty());
    ASSERT_EQ(diagnostics.Lines().size(), 3u);
    EXPECT_TRUE(diagnostics.Contains("Objects:3: archetype \"Missing\" has no file"));
    EXPECT_TRUE(diagnostics.Contains("Objects:4: an empty line names no archetype; skipped"));
    EXPECT_TRUE(diagnostics.Contains("Objects:5: archetype \"Sign\" is listed twice"));
}

TEST_F(ReaderTest, ArchetypeFilesReportBadLinesAndKeepTheGoodOnes) {
    assets.Write("Objects", "Thing\n");
    assets.Write("Thing", "TestSign count x \nRigidBody2D mass 3.0 \nWhat \n");
    LoadArchetypes();
    const Object* thing = ArchetypeTable().Get("Thing");
    ASSERT_NE(thing, nullptr);
    EXPECT_FALSE(thing->HasComponent("TestSign"));
    EXPECT_EQ(thing->Get<RigidBody2D>("RigidBody2D")->mass, 3.0f);
    EXPECT_EQ(diagnostics.Lines().size(), 2u);
    EXPECT_TRUE(diagnostics.Contains("Thing:1: TestSign member \"count\": not a whole number"));
    EXPECT_TRUE(diagnostics.Contains("Thing:3: unknown component class \"What\""));
}

TEST_F(ReaderTest, AMissingArchetypeListStillSendsArchetypesLoaded) {
    LoadArchetypes();
    EXPECT_TRUE(ArchetypeTable().Empty());
    EXPECT_TRUE(Sent(MessageType::ArchetypesLoaded));
}

}  // namespace
