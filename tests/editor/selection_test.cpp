// What a designer selects and makes: pieces at their archetype's size, colliders saved at the
// size their objects have, the marquee's group moving and going together, copies where a designer
// expects them, and the outline and names that show it all.
#include <gtest/gtest.h>

#include "editor/level_editor.h"
#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/editor_session.h"
#include "support/scene_builder.h"

namespace {

using testing_support::EditorSession;

// Palette offsets in this order: 420, 358, 296.
const std::vector<std::string> kKit = {
    "Tall: BoxCollider2D mHalfSize 64.0 192.0 mHollow true",
    "Round: CircleCollider2D radius 20.0",
    "Plain: RigidBody2D mass 0.0",
};

class SelectionTest : public ::testing::Test {
protected:
    SelectionTest() : session(kKit) { session.EnterEditor(); }
    LevelEditor& editor() { return session.Editor(); }
    Vector2D PositionOf(std::size_t index) const {
        return LevelObjects()[index]->GetTransform().GetPosition();
    }
    EditorSession session;
};

TEST_F(SelectionTest, APlacedOrPaintedPieceArrivesAtItsArchetypesSizeAndACellTakesOne) {
    struct Case {
        int iconY;
        Vector2D size;
    };
    for (const Case c :
         {Case{420, {64.0f, 192.0f}}, Case{358, {20.0f, 20.0f}}, Case{296, {30.0f, 30.0f}}}) {
        session.Click(-1000000, c.iconY);
        ASSERT_FALSE(LevelObjects().empty());
        const Transform2D& placed = LevelObjects().back()->GetTransform();
        EXPECT_EQ(placed.GetScale(), c.size) << c.iconY;
        EXPECT_EQ(placed.GetZLayer(), 5.0f);

        session.Hold(VirtualKey::Control, true);
        session.Click(-1000000, c.iconY);
        session.Click(2000, 2000);
        session.Click(2010, 2005);
        session.Hold(VirtualKey::Control, false);
        EXPECT_EQ(LevelObjects().back()->GetTransform().GetScale(), c.size) << "painted";
        EXPECT_EQ(LevelObjects().size(), 2u) << "a second paint into one cell places nothing";
        session.ChordDiscarding('N');
    }
}

TEST_F(SelectionTest, ASavedBoxColliderHasItsObjectsSize) {
    session.Click(-1000000, 420);
    LevelObjects().back()->GetTransform().SetScale({30.0f, 90.0f});
    editor().SaveLevelAs("level_Sized");
    const std::string text = session.Assets().Read("level_Sized");
    EXPECT_NE(text.find("BoxCollider2D mHalfSize 30.000000000 90.000000000"), std::string::npos)
        << text;
}

TEST_F(SelectionTest, AMarqueeGroupMovesAndDeletesTogetherAndEverySelectionIsOutlined) {
    testing_support::BuildScene("A 0 0 10 10\nB 50 0 10 10\nOut 300 0 10 10");
    session.Drag(-20, -20, 70, 20);
    ASSERT_EQ(editor().Group().size(), 2u) << "only what lies wholly inside";
    EXPECT_EQ(session.Panels().Outlines().size(), 2u);
    session.Drag(50, 0, 80, 10);
    EXPECT_EQ(PositionOf(0), (Vector2D{30.0f, 10.0f}));
    EXPECT_EQ(PositionOf(1), (Vector2D{80.0f, 10.0f}));
    EXPECT_EQ(PositionOf(2), (Vector2D{300.0f, 0.0f}));
    session.Tap(VirtualKey::Delete);
    ASSERT_EQ(LevelObjects().size(), 1u);
    EXPECT_EQ(LevelObjects().front()->GetName(), "Out");
    session.Click(600, 600);
    EXPECT_TRUE(editor().Group().empty());
    EXPECT_TRUE(session.Panels().Outlines().empty());
    session.Click(300, 0);
    EXPECT_EQ(session.Panels().Outlines().size(), 1u) << "a single selection";
    session.Move(-1000000, 358);
    EXPECT_EQ(session.Panels().Tooltip(), "Round") << "the palette names what is under the mouse";
    session.Move(500, 500);
    EXPECT_EQ(session.Panels().Tooltip(), "");
}

// The game destroys objects on its own: a selection, its panel and a group member go with them.
TEST_F(SelectionTest, WhatTheGameDestroysLeavesTheSelectionAndNoArchetypeIsDeleted) {
    testing_support::BuildScene("A 0 0 10 10\nB 50 0 10 10\nOut 300 0 10 10");
    session.Click(300, 0, true);
    ASSERT_TRUE(session.Panels().HasPanel());
    LevelObjects()[2]->Destroy();
    session.Frames(3);
    EXPECT_EQ(editor().Selected(), nullptr);
    EXPECT_FALSE(session.Panels().HasPanel());
    session.Drag(-20, -20, 70, 20);
    LevelObjects()[1]->Destroy();
    session.Frames(2);
    ASSERT_EQ(editor().Group().size(), 1u);
    session.Tap(VirtualKey::Delete);
    ASSERT_TRUE(LevelObjects().empty());

    const std::size_t archetypes = ArchetypeTable().Size();
    session.Click(-1000000, 420, true);  // the archetype's panel
    ASSERT_TRUE(editor().Selected() && editor().Selected()->IsArchetype());
    session.Tap(VirtualKey::Delete);
    EXPECT_EQ(ArchetypeTable().Size(), archetypes);
    EXPECT_TRUE(editor().Selected()) << "its panel stays";
}

TEST_F(SelectionTest, DuplicatesGoBesideAndPastesAroundTheMouse) {
    testing_support::BuildScene("A 0 0 10 10\nB 30 0 10 10");
    session.Drag(-20, -20, 50, 20);
    session.Chord('D');
    ASSERT_EQ(LevelObjects().size(), 4u);
    EXPECT_EQ(PositionOf(2), (Vector2D{50.0f, 0.0f})) << "the group is 50 wide";
    EXPECT_EQ(PositionOf(3), (Vector2D{80.0f, 0.0f}));
    EXPECT_EQ(editor().Group().size(), 2u) << "the copies are the group now";

    session.Chord('C');
    session.Move(1000, 1000);
    session.Chord('V');
    ASSERT_EQ(LevelObjects().size(), 6u);
    EXPECT_EQ(PositionOf(4), (Vector2D{985.0f, 1000.0f}));
    EXPECT_EQ(PositionOf(5), (Vector2D{1015.0f, 1000.0f}));
    LevelObjects()[0]->Destroy();
    session.Chord('V');
    EXPECT_EQ(LevelObjects().size(), 7u) << "the clipboard outlives its originals";
}

}  // namespace
