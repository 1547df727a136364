// The level editor as a designer drives it: picking, painting, layers, emptying, saving, the
// panels, undo and redo. Every input goes through the window's events.
#include "editor/level_editor.h"

#include <gtest/gtest.h>

#include <functional>

#include "input/input_system.h"
#include "meta/assets.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/editor_session.h"
#include "support/scene_builder.h"

namespace {

using testing_support::BuildScene;
using testing_support::EditorSession;

const std::vector<std::string> kArchetypes = {
    "Crate: RigidBody2D mass 1.0; BoxCollider2D mHollow false",
    "Block: BoxCollider2D mHollow true",
};

class LevelEditorTest : public ::testing::Test {
protected:
    LevelEditorTest() : session(kArchetypes) { session.EnterEditor(); }
    LevelEditor& editor() { return session.Editor(); }
    EditorSession session;
};

struct OverlapCase {
    float firstLayer;
    float laterLayer;
    bool laterOnTop;
};

// The renderer draws at the whole part of a layer, and of equal whole layers the later object
// over the earlier one.
TEST_F(LevelEditorTest, AClickPicksTheObjectDrawnOnTop) {
    const OverlapCase cases[] = {
        {2.0f, 6.0f, true}, {6.0f, 2.0f, false}, {3.2f, 3.8f, true},
        {3.8f, 3.2f, true}, {4.0f, 3.9f, false}, {5.0f, 5.0f, true},
    };
    for (const OverlapCase& c : cases) {
        Object* first = BuildScene("First 100 100 40 40").front();
        Object* later = BuildScene("Later 110 100 40 40").front();
        first->GetTransform().SetZLayer(c.firstLayer);
        later->GetTransform().SetZLayer(c.laterLayer);
        session.Click(105, 100);
        EXPECT_EQ(editor().Selected(), c.laterOnTop ? later : first)
            << c.firstLayer << " then " << c.laterLayer;
        session.Click(65, 100);
        EXPECT_EQ(editor().Selected(), first) << "only the first is there";
        session.ChordDiscarding('N');
    }
}

// I and K stop at the layer limits, G snaps a small object to whole units, and an erase with no
// archetype picked erases nothing and keeps the selection.
TEST_F(LevelEditorTest, EditsOfTheSelectedObjectKeepToTheirLimits) {
    BuildScene("Box 0 0 0.5 0.5");
    session.Click(0, 0);
    Transform2D& t = editor().Selected()->GetTransform();
    t.SetZLayer(38.95f);
    session.Tap('I');
    EXPECT_FLOAT_EQ(t.GetZLayer(), 39.0f) << "the camera at 50, less 11";
    t.SetZLayer(1.05f);
    session.Tap('K');
    EXPECT_FLOAT_EQ(t.GetZLayer(), 1.0f);
    session.Hold('G', true);
    session.Drag(0, 0, 37, -12);
    session.Hold('G', false);
    ASSERT_EQ(editor().Selected(), LevelObjects().front());
    EXPECT_EQ(t.GetPosition(), (Vector2D{37.0f, -12.0f}));
    session.Hold(VirtualKey::Control, true);
    session.Click(300, 300, true);
    EXPECT_EQ(editor().Selected(), LevelObjects().front());
    EXPECT_EQ(LevelObjects().size(), 1u);
    session.Hold(VirtualKey::Control, false);
}

// A report of a save goes by itself; a failure stays until read.
TEST_F(LevelEditorTest, ASaveReportGoesByItselfAndAFailureStays) {
    BuildScene("Box 0 0 10 10");
    editor().SaveLevelAs("level_Mine");
    ASSERT_EQ(session.Panels().Title(), LevelEditor::kSaved);
    session.Frames(260);
    EXPECT_FALSE(session.Panels().HasPanel()) << "read, then gone";
    editor().SaveLevelAs("Objects");
    ASSERT_EQ(session.Panels().Title(), LevelEditor::kNotSaved);
    session.Frames(260);
    EXPECT_EQ(session.Panels().Title(), LevelEditor::kNotSaved) << "a failure waits to be read";
}

TEST_F(LevelEditorTest, AnInstalledGameSavesIntoThePlayersFolderAndReadsThatCopyBack) {
    const std::string shipped = "Rock\n{\nTransform2D 5 6 1 10 10 0\n}\n";
    session.Assets().Write("level_Intro", shipped);
    // The session's folder puts the folders back at its end.
    Assets::Folders installed = Assets::Current();
    installed.saves = session.Assets().Folder() / "player";
    Assets::Use(installed);

    session.Click(-1000000, 420);
    session.Chord('S');
    ASSERT_TRUE(session.Panels().Edit("Level Name", "level_Intro"));
    ASSERT_TRUE(session.PressButton("Save Level"));
    session.PressButton(LevelEditor::kReplaceFile);
    const std::string mine = session.LevelText();
    EXPECT_EQ(session.Assets().Read("level_Intro"), shipped) << "the shipped file is untouched";
    EXPECT_EQ(session.Assets().Read("player/level_Intro"), mine);
    EXPECT_EQ(session.Assets().Read("player/level_Intro.bak"), shipped);
    ASSERT_EQ(session.Panels().Title(), LevelEditor::kSaved);
    ASSERT_EQ(session.Panels().Items().size(), 1u);
    EXPECT_EQ(session.Panels().Items()[0].label,
              "Level \"level_Intro\" saved to " + (installed.saves / "level_Intro").string());

    session.ChordDiscarding('N');
    session.ChordDiscarding('L');
    ASSERT_TRUE(session.PressButton("Load level_Intro")) << "the load panel offers the level";
    EXPECT_EQ(session.LevelText(), mine) << "the player's copy is read before the shipped one";
    ASSERT_EQ(session.Panels().Title(), LevelEditor::kLoaded);
    EXPECT_EQ(session.Panels().Items()[0].label.rfind("Loaded 1 object from ", 0), 0u);
}

// The panel's names, values and component buttons are the e2e editor_object_panel picture's.
TEST_F(LevelEditorTest, ObjectPanelShowsOnlyComponentsOfAKnownType) {
    BuildScene("Thing 0 0 10 10\n  RigidBody2D mass 2.0\n  TestCounter step 4");
    session.Click(0, 0, true);
    EXPECT_EQ(session.Panels().Value("RigidBody2D.mass"), "2");
    EXPECT_FALSE(session.Panels().HasButton("Add Component RigidBody2D"));
    EXPECT_EQ(session.Panels().Describe().find("TestCounter"), std::string::npos);
}

// One kind of edit on a level of one crate and one block, with the block selected.
struct EditCase {
    const char* name;
    std::function<void(EditorSession&)> edit;
};

class UndoTest : public LevelEditorTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(UndoTest, UndoRestoresTheLevelExactlyAndRedoReappliesIt) {
    BuildScene("Crate 0 0 30 30\n  RigidBody2D mass 1.0\nBlock 200 0 20 20");
    session.Frames(3);
    session.Click(200, 0, true);
    const std::string before = session.LevelText();
    const std::size_t steps = editor().History().UndoSteps();
    GetParam().edit(session);
    session.Frames(2);
    const std::string after = session.LevelText();
    ASSERT_NE(after, before) << "the edit changed nothing";
    EXPECT_EQ(editor().History().UndoSteps(), steps + 1) << "one edit, one step";
    session.Chord('Z');
    EXPECT_EQ(session.LevelText(), before);
    session.Chord('Y');
    EXPECT_EQ(session.LevelText(), after);
}

const EditCase kEdits[] = {
    {"Move", [](EditorSession& s) { s.Drag(200, 0, 260, 40); }},
    {"Scale", [](EditorSession& s) { s.Tap(VirtualKey::Plus); }},
    {"Rotate", [](EditorSession& s) { s.Tap('Q'); }},
    {"Layer", [](EditorSession& s) { s.Tap('I'); }},
    {"Create", [](EditorSession& s) { s.Click(-1000000, 420); }},
    {"Paint",
     [](EditorSession& s) {
         s.Hold(VirtualKey::Control, true);
         s.Click(-1000000, 358);
         s.Click(500, 500);
         s.Hold(VirtualKey::Control, false);
     }},
    {"Erase", [](EditorSession& s) { s.Click(200, 0, true, true); }},
    {"Delete", [](EditorSession& s) { s.Tap(VirtualKey::Delete); }},
    {"AddComponent", [](EditorSession& s) { s.PressButton("Add Component RigidBody2D"); }},
    {"RemoveComponent",
     [](EditorSession& s) {
         s.Click(0, 0, true);
         s.PressButton("  Remove Component RigidBody2D");
     }},
    {"Duplicate", [](EditorSession& s) { s.Chord('D'); }},
    {"CopyPaste",
     [](EditorSession& s) {
         s.Chord('C');
         s.Chord('V');
     }},
    {"MarqueeMove",
     [](EditorSession& s) {
         s.Drag(-100, -100, 300, 100);
         s.Drag(200, 0, 260, 40);
     }},
    {"MarqueeDelete",
     [](EditorSession& s) {
         s.Drag(-100, -100, 300, 100);
         s.Tap(VirtualKey::Delete);
     }},
    {"FieldEdit",
     [](EditorSession& s) {
         s.Panels().Edit("Transform2D.position.Y", "75");
         s.Frames(1);
     }},
};

INSTANTIATE_TEST_SUITE_P(EveryKindOfEdit, UndoTest, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
