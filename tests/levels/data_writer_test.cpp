// The writers: exact text forms, what is left out, the archetype save cycle and refused saves.
#include "levels/data_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/messaging.h"
#include "levels/data_reader.h"
#include "objects/component_factory.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/data_file_test.h"
#include "support/test_components.h"

namespace {

using WriterTest = testing_support::DataFileTest;

// A class a designer can add in the editor's panels must be saved, or it vanishes at the next save;
// the embedded transform is shown but never saved as a component line.
TEST_F(WriterTest, EveryClassShownInTheEditorIsSavedAndOnlyThose) {
    for (const auto& [name, prototype] : ComponentFactory::All()) {
        EXPECT_EQ(prototype->GetMetaType().IsSaved(),
                  prototype->GetMetaType().IsEditable() && name != "Transform2D")
            << name;
    }
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

    delete selected;
}

// A level name that would leave the assets folder, an object name or a line the reader would not
// read back: each is refused in one line, and the old file stays.
TEST_F(WriterTest, ASaveThatWouldLeaveTheFolderOrNotReadBackIsRefused) {
    struct Case {
        std::string level;
        std::string object;
        std::size_t caption;
        const char* said;
    };
    const Case cases[] = {
        {"../escape", "A", 1, "level save refused"},
        {"sub/level", "A", 1, "level save refused"},
        {"..", "A", 1, "level save refused"},
        {"/tmp/abs", "A", 1, "level save refused"},
        {"a\\b", "A", 1, "level save refused"},
        {"", "A", 1, "level save refused"},
        {"level_Old", "", 1, "would not read back"},
        {"level_Old", "{brace", 1, "would not read back"},
        {"level_Old", "two\nlines", 1, "would not read back"},
        {"level_Old", "cr\r", 1, "would not read back"},
        {"level_Old", "A", 1000, "level_Old:4: level save refused"},
    };
    assets.Write("level_Old", "Old\n{\n}\n");
    Object* object = MakeLevelObject("A");
    auto* sign = new TestSign;
    object->AddComponent("TestSign", sign);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level + " " + c.object);
        object->SetName(c.object);
        sign->caption = std::string(c.caption, 'x');
        diagnostics.Clear();
        EXPECT_FALSE(SaveLevel(c.level));
        ASSERT_EQ(diagnostics.Lines().size(), 1u);
        EXPECT_TRUE(diagnostics.Contains(c.said));
    }
    Object selected;
    selected.SetName("../../evil");
    SaveArchetype(&selected);
    EXPECT_TRUE(diagnostics.Contains("archetype save refused"));
    EXPECT_EQ(assets.Files(), (std::vector<std::string>{"level_Old"}));
    EXPECT_EQ(assets.Read("level_Old"), "Old\n{\n}\n");
    EXPECT_FALSE(std::filesystem::exists(assets.Folder().parent_path() / "escape"));
    // Just inside the limits, it saves.
    object->SetName("brace{ inside } is fine");
    sign->caption.resize(900);
    EXPECT_TRUE(SaveLevel("level_Old"));
}

}  // namespace
