// The writers: exact text forms, what is left out, the archetype save cycle, refused names and
// saves that fail without harming the old file.
#include "levels/data_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "core/messaging.h"
#include "levels/data_reader.h"
#include "objects/component_factory.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/asset_folder.h"
#include "support/engine_test.h"
#include "support/test_components.h"

namespace {

using testing_support::CapturedDiagnostics;
using testing_support::TempAssets;

class WriterTest : public testing_support::EngineTest {
protected:
    TempAssets assets;
    CapturedDiagnostics diagnostics;
};

TEST_F(WriterTest, AComponentLineUsesTheTextFormOfEachMemberTypeAndEndsWithASpace) {
    RigidBody2D body;
    body.mass = 1.0f;
    body.velocity = {0.0f, -2.5f};
    body.gravity = 600.0f;
    std::ostringstream out;
    PrepareStream(out);
    WriteComponentLine(out, body);
    EXPECT_EQ(out.str(),
              "RigidBody2D mass 1.000000000 velocity 0.000000000 -2.500000000 state 0 active true "
              "bounciness 0.000000000 friction 100 gravity 600.000000000 \n");

    TestSign sign;
    sign.caption = "two words";
    std::ostringstream text;
    PrepareStream(text);
    WriteComponentLine(text, sign);
    // A space inside a text is escaped; the member with no text form ("cache") writes nothing.
    EXPECT_EQ(text.str(),
              "TestSign caption \"two\\ words\" speed 1.500000000 count 7 lit false offset "
              "1.000000000 2.000000000 \n");
}

// The classes designers place are exactly the saved ones, each shown in the editor's panels; the
// embedded transform is shown too but never saved as a component line.
TEST_F(WriterTest, TheSavedClassesAreTheTwentyEightDesignersPlace) {
    std::set<std::string> expected = {
        "AudioComponent",
        "BoxCollider2D",
        "BreakBlock",
        "CameraFollowComponent",
        "CannonComponent",
        "ChangeLevelButtonComponent",
        "CircleCollider2D",
        "ColoredSquareComponent",
        "EndOfGame",
        "EndSkip",
        "FanComponent",
        "FlyingStar",
        "GoalComponent",
        "InvisibleComponent",
        "LightingShaderComponent",
        "LoopingBackgroundComponent",
        "OnGUIComponent",
        "OneWay",
        "ParticleEmitterComponent",
        "PlayerControlComponent",
        "PlayerControllerComponentVerticalShooter",
        "PresentationLockingDoor",
        "Reset",
        "RigidBody2D",
        "StarComponent",
        "Starfall",
        "TeleporterComponent",
        "TextureComponent",
        "TestSign",  // the tests' own
    };
    std::set<std::string> saved;
    std::set<std::string> editable;
    for (const auto& [name, prototype] : ComponentFactory::All()) {
        if (prototype->GetMetaType().IsSaved()) {
            saved.insert(name);
        }
        if (prototype->GetMetaType().IsEditable()) {
            editable.insert(name);
        }
    }
    EXPECT_EQ(saved.size(), 29u);
    EXPECT_EQ(saved, expected);
    expected.insert("Transform2D");
    EXPECT_EQ(editable, expected);
}

TEST_F(WriterTest, ALevelWritesEveryObjectsBlockAndLeavesUnwrittenClassesOut) {
    Object* plain = MakeLevelObject("Wall");
    plain->AddComponent("TestCounter", new TestCounter);
    Object* crate = MakeLevelObject("Crate");
    crate->GetTransform().SetPosition({100.0f, -50.0f});
    crate->GetTransform().SetZLayer(1.0f);
    crate->GetTransform().SetScale({64.0f, 64.0f});
    crate->GetTransform().SetRotationDegrees(90);
    auto* body = new RigidBody2D;
    body->mass = 1.0f;
    body->state = 1;
    crate->AddComponent("RigidBody2D", body);

    ASSERT_TRUE(SaveLevel("level_Saved"));
    EXPECT_EQ(assets.Read("level_Saved"),
              "Wall\n{\n"
              "Transform2D 0.000000000 0.000000000 0.000000000 0.000000000 0.000000000 "
              "0.000000000\n}\n"
              "Crate\n{\n"
              "Transform2D 100.000000000 -50.000000000 1.000000000 64.000000000 64.000000000 "
              "1.570796490\n"
              "RigidBody2D mass 1.000000000 velocity 0.000000000 0.000000000 state 1 active true "
              "bounciness 0.000000000 friction 100 gravity 0.000000000 \n"
              "}\n");
    // No temporary file is left behind.
    EXPECT_EQ(assets.Files(), (std::vector<std::string>{"level_Saved"}));

    // It reads back to the same objects, less the unwritten component.
    testing_support::ResetEngineState();
    LoadLevel("level_Saved");
    ASSERT_EQ(LevelObjects().size(), 2u);
    EXPECT_FALSE(LevelObjects()[0]->HasComponent("TestCounter"));
    EXPECT_EQ(LevelObjects()[1]->GetTransform().GetRotationDegrees(), 90);
    EXPECT_EQ(LevelObjects()[1]->Get<RigidBody2D>("RigidBody2D")->state, 1);
    EXPECT_TRUE(diagnostics.Lines().empty());
}

TEST_F(WriterTest, TextWithSpacesReadsBackWholeAndEscapedTextIsWrittenBackUnchanged) {
    assets.Write("level_Text",
                 "Sign\n{\nTransform2D 0.0 0.0 0.0 1.0 1.0 0.0\n"
                 "TestSign caption \"press\\ A\" \n}\n");
    LoadLevel("level_Text");
    TestSign* sign = LevelObjects().at(0)->Get<TestSign>("TestSign");
    EXPECT_EQ(sign->caption, "press A");
    sign->caption = " two  spaces ";
    ASSERT_TRUE(SaveLevel("level_Text"));
    EXPECT_NE(assets.Read("level_Text").find("caption \"\\ two\\ \\ spaces\\ \" "),
              std::string::npos)
        << assets.Read("level_Text");
    testing_support::ResetEngineState();
    LoadLevel("level_Text");
    EXPECT_EQ(LevelObjects().at(0)->Get<TestSign>("TestSign")->caption, " two  spaces ");
}

TEST_F(WriterTest, ARealHoldingAWholeValueIsWrittenWithAPointAndReadsBack) {
    Object* sign = MakeLevelObject("Sign");
    auto* component = new TestSign;
    component->speed = 5.0f;
    sign->AddComponent("TestSign", component);
    ASSERT_TRUE(SaveLevel("level_Sign"));
    EXPECT_NE(assets.Read("level_Sign").find("speed 5.000000000 "), std::string::npos);
    testing_support::ResetEngineState();
    LoadLevel("level_Sign");
    EXPECT_EQ(LevelObjects().at(0)->Get<TestSign>("TestSign")->speed, 5.0f);
}

TEST_F(WriterTest, SavingAnArchetypeWritesItRewritesTheListAndReloadsEveryArchetype) {
    assets.Write("Objects", "Old\n");
    assets.Write("Old", "TestSign count 1 \n");
    LoadArchetypes();
    MessagingSystem::Update();

    auto* selected = new Object;
    selected->SetName("New");
    selected->AddComponent("Transform2D", new Transform2D);
    auto* sign = new TestSign;
    sign->count = 4;
    selected->AddComponent("TestSign", sign);
    selected->AddComponent("TestCounter", new TestCounter);
    selected->GetTransform().SetPosition({5.0f, 5.0f});

    SaveArchetype(selected);
    EXPECT_EQ(assets.Read("New"),
              "Transform2D\nTestSign caption \"none\" speed 1.500000000 count 4 "
              "lit false offset 1.000000000 2.000000000 \n");
    EXPECT_EQ(assets.Read("Objects"), "Old\nNew\n");
    ASSERT_EQ(ArchetypeTable().Size(), 2u);
    const Object* reloaded = ArchetypeTable().Get("New");
    ASSERT_NE(reloaded, nullptr);
    EXPECT_NE(reloaded, selected);
    EXPECT_EQ(reloaded->Get<TestSign>("TestSign")->count, 4);
    EXPECT_NE(reloaded->Get<Transform2D>("Transform2D"), nullptr);
    MessagingSystem::Update();
    bool loadedSent = false;
    for (const auto& m : MessagingSystem::GetMessages()) {
        loadedSent = loadedSent || m->type == MessageType::ArchetypesLoaded;
    }
    EXPECT_TRUE(loadedSent);

    // Saving again under a listed name does not list it twice.
    SaveArchetype(selected);
    EXPECT_EQ(assets.Read("Objects"), "Old\nNew\n");
    delete selected;
}

TEST_F(WriterTest, NamesThatWouldLeaveTheAssetsFolderAreRefusedAndNothingIsWritten) {
    MakeLevelObject("A");
    for (const std::string name : {"../escape", "sub/level", "..", "/tmp/abs", "a\\b", ""}) {
        diagnostics.Clear();
        EXPECT_FALSE(SaveLevel(name)) << name;
        ASSERT_EQ(diagnostics.Lines().size(), 1u) << name;
        EXPECT_TRUE(diagnostics.Contains("level save refused")) << name;
    }
    Object selected;
    selected.SetName("../../evil");
    SaveArchetype(&selected);
    EXPECT_TRUE(diagnostics.Contains("archetype save refused"));
    EXPECT_TRUE(assets.Files().empty());
    EXPECT_FALSE(std::filesystem::exists(assets.Folder().parent_path() / "escape"));
}

TEST_F(WriterTest, ALevelWithAnObjectNameThatWouldNotReadBackIsRefused) {
    assets.Write("level_Names", "Old\n{\n}\n");
    Object* object = MakeLevelObject("fine name");
    for (const std::string name : {"", "{brace", "two\nlines", "cr\r"}) {
        object->SetName(name);
        diagnostics.Clear();
        EXPECT_FALSE(SaveLevel("level_Names")) << name;
        EXPECT_TRUE(diagnostics.Contains("would not read back")) << name;
    }
    EXPECT_EQ(assets.Read("level_Names"), "Old\n{\n}\n");
    object->SetName("brace{ inside } is fine");
    EXPECT_TRUE(SaveLevel("level_Names"));
}

TEST_F(WriterTest, ASaveWithALineTheReaderWouldStopAtIsRefused) {
    assets.Write("level_Long", "Old\n{\n}\n");
    auto* sign = new TestSign;
    sign->caption = std::string(1000, 'x');
    MakeLevelObject("A")->AddComponent("TestSign", sign);
    EXPECT_FALSE(SaveLevel("level_Long"));
    EXPECT_TRUE(diagnostics.Contains("level_Long:4: level save refused"));
    EXPECT_EQ(assets.Read("level_Long"), "Old\n{\n}\n");
    sign->caption.resize(900);
    EXPECT_TRUE(SaveLevel("level_Long"));
}

TEST_F(WriterTest, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    // A folder standing where the level file should go cannot be replaced by a file.
    std::filesystem::create_directories(assets.Folder() / "level_Blocked" / "inside");
    MakeLevelObject("A");
    EXPECT_FALSE(SaveLevel("level_Blocked"));
    EXPECT_TRUE(diagnostics.Contains("level save failed"));
    EXPECT_TRUE(std::filesystem::is_directory(assets.Folder() / "level_Blocked" / "inside"));
    EXPECT_EQ(assets.Files(), (std::vector<std::string>{"level_Blocked"}));

    // Over an existing file the new text replaces the old one whole.
    assets.Write("level_Old", "Old\n{\n}\n");
    ASSERT_TRUE(SaveLevel("level_Old"));
    EXPECT_EQ(assets.Read("level_Old").rfind("A\n{\n", 0), 0u);
}

}  // namespace
