// The readers over real files in a temporary assets folder: the level state machine, archetypes,
// first-wins tables and the diagnostics of bad lines.
#include "levels/data_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messaging.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "physics/rigid_body2d.h"
#include "support/data_file_test.h"
#include "support/test_components.h"

namespace {

using testing_support::LevelObjectNames;

class ReaderTest : public testing_support::DataFileTest {
protected:
    // Whether a message of `type` was sent since the last swap.
    static bool Sent(MessageType type) {
        MessagingSystem::Update();
        return MessagingSystem::WasSent(type);
    }
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

// Whoever waits for the load hears of it even when there is no file to load.
TEST_F(ReaderTest, ALevelFileAppendsItsObjectsInOrderAndSendsLevelObjectsLoaded) {
    LoadLevel("level_Test");
    EXPECT_TRUE(LevelObjects().empty());
    EXPECT_TRUE(Sent(MessageType::LevelObjectsLoaded));
    assets.Write("level_Test", kTwoBlocks);
    LoadLevel("level_Test");
    EXPECT_TRUE(Sent(MessageType::LevelObjectsLoaded));
    ASSERT_EQ(LevelObjectNames(), (std::vector<std::string>{"Crate", "Player 1"}));
    EXPECT_TRUE(diagnostics.Lines().empty()) << diagnostics.Lines().front();

    const Object& crate = *LevelObjects()[0];
    EXPECT_TRUE(crate.IsVisible());
    EXPECT_FALSE(crate.IsArchetype());
    // The embedded transform is set (its fields as the writer's text and the round trip pin
    // them); no Transform2D component is added.
    EXPECT_EQ(crate.GetTransform().GetRotationDegrees(), 90);
    EXPECT_FALSE(crate.HasComponent("Transform2D"));
    ASSERT_NE(crate.Get<RigidBody2D>("RigidBody2D"), nullptr);
    EXPECT_EQ(crate.Get<TestSign>("TestSign")->caption, "a crate");
    EXPECT_EQ(crate.Get<TestSign>("TestSign")->GetOwner(), &crate);

    // Loading again appends; clearing is the caller's task.
    LoadLevel("level_Test");
    EXPECT_EQ(LevelObjects().size(), 4u);
}

// Files broken in their structure, and Windows line ends: what loads, and every line said.
TEST_F(ReaderTest, ABrokenBlockLosesOnlyWhatItMustAndEachFaultIsNamedByLine) {
    std::string crlf;
    for (char c : std::string(kTwoBlocks)) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    struct Case {
        std::string text;
        std::vector<std::string> names;
        std::vector<std::string> said;
    };
    const Case cases[] = {
        {crlf, {"Crate", "Player 1"}, {}},
        {"A\n{\n}\nB\n{\nTestSign \n", {"A"}, {"level_Case:4: object \"B\" has no closing"}},
        {"First\nSecond\n{\n}\n", {"Second"}, {"level_Case:1: object \"First\" has no block"}},
        // The second nameless block, after a closed one, must not reopen "Kept".
        {"{\nTransform2D 1.0 2.0 3.0 4.0 5.0 0.0\nTestSign \n}\nKept\n{\n}\n{\nTestSign \n}\n",
         {"Kept"},
         {"level_Case:1: a block with no name line",
          "level_Case:2: line inside a block that has no name",
          "level_Case:3: line inside a block that has no name",
          "level_Case:8: a block with no name line",
          "level_Case:9: line inside a block that has no name"}},
        // A dynamic body this low in friction stops dead every frame; a static one never moves.
        {"Slow\n{\nRigidBody2D state 1 mass 1.0 friction 10 \n}\n"
         "Lively\n{\nRigidBody2D state 1 mass 1.0 friction 63 \n}\n"
         "Wall\n{\nRigidBody2D state 0 mass 0.0 friction 10 \n}\n",
         {"Slow", "Lively", "Wall"},
         {"level_Case:3: a dynamic RigidBody2D with \"friction\" 10"}},
        // A too long line ends the file there: B's block never closes.
        {"A\n{\n}\nB\n{\n" + std::string(1500, 'x') + "\n}\nC\n{\n}\n",
         {"A"},
         {"level_Case:6: line longer than 1023", "object \"B\" has no closing"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        DestroyAllLevelObjects();
        diagnostics.Clear();
        assets.Write("level_Case", c.text);
        LoadLevel("level_Case");
        EXPECT_EQ(LevelObjectNames(), c.names);
        EXPECT_EQ(diagnostics.Lines().size(), c.said.size());
        for (const std::string& line : c.said) {
            EXPECT_TRUE(diagnostics.Contains(line)) << line;
        }
    }
}

// Each line of the object's block, and what its one diagnostic says (null: a good line).
TEST_F(ReaderTest, EveryBadLineGetsOneDiagnosticAndTheRestOfTheFileStillLoads) {
    const std::pair<const char*, const char*> block[] = {
        {"Transform2D 1.0 2.0 3.0", "six numbers"},
        {"NoSuchComponent speed 1.0 ", "unknown component class \"NoSuchComponent\""},
        {"TestSign count 2.5 ", "is a real number but the member takes a whole number"},
        {"RigidBody2D mass abc ", "not a number"},
        {"RigidBody2D state 1 mass 0.0 ", "non-zero \"mass\""},
        {"RigidBody2D state 1 mass 2.0 friction 0 ", "non-zero \"friction\""},
        {"RigidBody2D state 1 mass 2.0 ", nullptr},
        {"RigidBody2D state 0 mass 9.0 ", "a second RigidBody2D line"},
        {"TestSign count", "no value after the member name"},
        {"Transform2D 1.0 2.0 3.0 4.0 5.0 x", "Transform2D number 6: not a number"},
        {"Transform2D 1.0 2.0 3.0 4.0 5.0 1e30", "rotation out of range"},
        {"", nullptr},
        {"TestSign caption \"ok\" ", nullptr}};
    std::string text = "Obj\n{\n";
    for (const auto& line : block) {
        text += std::string(line.first) + "\n";
    }
    assets.Write("level_Bad", text + "}\nAfter\n{\n}\n");
    LoadLevel("level_Bad");
    EXPECT_EQ(LevelObjectNames(), (std::vector<std::string>{"Obj", "After"}));
    const Object& obj = *LevelObjects()[0];
    EXPECT_EQ(obj.Get<RigidBody2D>("RigidBody2D")->mass, 2.0f);
    EXPECT_EQ(obj.Get<TestSign>("TestSign")->caption, "ok");
    EXPECT_EQ(obj.GetTransform().GetPosition(), (Vector2D{}));

    auto reported = diagnostics.Lines().begin();
    for (std::size_t i = 0; i < std::size(block); ++i) {
        if (block[i].second) {
            ASSERT_NE(reported, diagnostics.Lines().end()) << block[i].first;
            const std::string where = "/level_Bad:" + std::to_string(i + 3) + ": ";
            EXPECT_EQ(reported->rfind(assets.Folder().string() + where, 0), 0u) << *reported;
            EXPECT_NE(reported->find(block[i].second), std::string::npos) << block[i].first;
            ++reported;
        }
    }
    EXPECT_EQ(reported, diagnostics.Lines().end()) << "one diagnostic a line";
}

TEST_F(ReaderTest, ArchetypesAreNamedFlaggedAndFiledFirstWins) {
    LoadArchetypes();
    EXPECT_TRUE(ArchetypeTable().Empty());
    EXPECT_TRUE(Sent(MessageType::ArchetypesLoaded));
    EXPECT_TRUE(diagnostics.Contains("the archetype list is missing"));
    diagnostics.Clear();
    assets.Write("Objects", "Sign\nBare\nMissing\n\nSign\n");
    assets.Write("Sign", "TestSign caption \"hello\" \nTransform2D\n");
    // A bad line of an archetype file is said with the file's own line number.
    assets.Write("Bare", "\nWhat \n");
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
    ASSERT_EQ(diagnostics.Lines().size(), 4u);
    EXPECT_TRUE(diagnostics.Contains("Bare:2: unknown component class \"What\""));
    EXPECT_TRUE(diagnostics.Contains("Objects:3: archetype \"Missing\" has no file"));
    EXPECT_TRUE(diagnostics.Contains("Objects:4: an empty line names no archetype; skipped"));
    EXPECT_TRUE(diagnostics.Contains("Objects:5: archetype \"Sign\" is listed twice"));
}

}  // namespace
