// The archetype palette: layout, scrolling, clicks on icons, the archetype view, and saving an
// archetype from its panel.
#include "editor/palette.h"

#include <gtest/gtest.h>

#include "core/editor_mode.h"
#include "core/messaging.h"
#include "editor/editor_components.h"
#include "editor/level_editor.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/editor_session.h"

namespace {

using testing_support::EditorSession;

std::vector<std::string> TenArchetypes() {
    std::vector<std::string> list;
    for (int i = 0; i < 10; ++i) {
        list.push_back("Thing" + std::to_string(i) + ": BoxCollider2D mHollow false");
    }
    return list;
}

std::vector<int> Offsets() {
    std::vector<int> offsets;
    for (const auto& [name, archetype] : ArchetypeTable()) {
        auto* icon = archetype->Get<ArchetypeLevelEditorComponent>("ArchetypeLevelEditorComponent");
        offsets.push_back(icon ? icon->offset : 9999);
    }
    return offsets;
}

// Icons 62 apart from 420 down; a click places an instance and leaves the icon; Page Down
// scrolls them all 7 up; leaving the editor hides them.
TEST(Palette, IconsLineUpScrollPlaceAndGoWithTheEditor) {
    EditorSession session(TenArchetypes());
    session.EnterEditor();
    EXPECT_EQ(Offsets(), (std::vector<int>{420, 358, 296, 234, 172, 110, 48, -14, -76, -138}));
    const Object* first = ArchetypeTable().begin()->second;
    EXPECT_TRUE(first->IsVisible());
    EXPECT_TRUE(first->HasComponent("OnLGUIComponent"));
    session.Click(-1000000, 420);
    session.Click(-1000000, 420);
    EXPECT_EQ(LevelObjects().size(), 2u);
    EXPECT_EQ(first->GetTransform().GetPosition().y, 420.0f);
    for (int i = 0; i < 3; ++i) {
        session.Tap(VirtualKey::PageDown);
    }
    EXPECT_EQ(Offsets(), (std::vector<int>{441, 379, 317, 255, 193, 131, 69, 7, -55, -117}));
    session.ChordDiscarding('Q');
    session.Frames(3);
    for (const auto& [name, archetype] : ArchetypeTable()) {
        EXPECT_FALSE(archetype->IsVisible());
        EXPECT_FALSE(archetype->HasComponent("ArchetypeLevelEditorComponent"));
    }
}

// Either editor opened from a level goes back to it on Escape. F6, even from a play-test, shows
// the editor's still view with every archetype wholly on screen, and a click opens one's panel.
TEST(ArchetypeView, ShowsEveryArchetypeAndEitherEditorGoesBackToTheLevelPlayed) {
    EditorSession session(TenArchetypes());
    MessagingSystem::Send<ChangeLevelMessage>(5);
    session.Frames(4);
    for (const int key : {VirtualKey::F6, VirtualKey::F5}) {
        session.Tap(key);
        session.Frames(4);
        ASSERT_GT(LevelManager::GetCurrentLevel(), 20) << "in an editor";
        session.Tap(VirtualKey::Escape);
        session.Frames(3);
        ASSERT_EQ(LevelManager::GetCurrentLevel(), 5) << "the player's place is kept";
    }
    session.EnterEditor();
    session.Click(-1000000, 420);
    session.Chord('P');
    session.Frames(3);
    ASSERT_EQ(LevelManager::GetCurrentLevel(), LevelManager::kPlayTest);
    session.Tap(VirtualKey::F6);
    session.Frames(3);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), LevelManager::kArchetypeEditor);
    EXPECT_TRUE(EditorMode::IsActive()) << "drawn as the editor's view, the game standing still";
    for (const auto& [name, archetype] : ArchetypeTable()) {
        const Vector2D p = archetype->GetTransform().GetPosition();
        EXPECT_TRUE(archetype->IsVisible()) << name;
        EXPECT_TRUE(p.x - 30 >= -800 && p.x + 30 <= 800 && p.y - 30 >= -450 && p.y + 30 <= 450)
            << name << " is not wholly on screen";
    }
    const Vector2D third = Palette::GridPlace(2);
    session.Click(static_cast<int>(third.x), static_cast<int>(third.y));
    EXPECT_EQ(session.Editor().Selected(), ArchetypeTable().Get("Thing2"));
    ASSERT_EQ(session.Panels().Title(), "Archetype");
    EXPECT_TRUE(session.Panels().HasButton(LevelEditor::kSaveArchetype));
    session.Tap(VirtualKey::Escape);
    session.Frames(3);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 5);
    EXPECT_FALSE(EditorMode::IsActive());
}

// The palette follows the archetype list with the game's own pieces apart; a right click opens
// an archetype's panel, whose save rewrites its file and the list and keeps the order.
TEST(Palette, FollowsTheArchetypeListAndAnArchetypeSaveKeepsIt) {
    EditorSession session({"Zed: BoxCollider2D mHollow false",
                           "Button: ChangeLevelButtonComponent NextLevel 0",
                           "Apple: BoxCollider2D mHollow true"});
    session.EnterEditor();
    const auto y = [](const char* name) {
        return ArchetypeTable().Get(name)->GetTransform().GetPosition().y;
    };
    EXPECT_EQ(y("Zed"), 420.0f);
    EXPECT_EQ(y("Apple"), 358.0f);
    EXPECT_EQ(y("Button"), 234.0f) << "after the pieces, one slot apart";
    session.Click(-1000000, 420, true);
    ASSERT_EQ(session.Panels().Title(), "Archetype");
    EXPECT_EQ(session.Panels().Value("BoxCollider2D.mHollow"), "false");
    ASSERT_TRUE(session.Panels().Edit("BoxCollider2D.mHollow", "true"));
    session.PressButton(LevelEditor::kSaveArchetype);
    EXPECT_EQ(session.Panels().Title(), LevelEditor::kSaved);
    EXPECT_EQ(session.Assets().Read("Objects"), "Zed\nButton\nApple\n") << "no second Zed line";
    EXPECT_NE(session.Assets().Read("Zed").find("mHollow true"), std::string::npos);
    EXPECT_TRUE(session.Assets().Exists("Zed.bak"));
    ASSERT_NE(ArchetypeTable().Get("Zed"), nullptr) << "reloaded";
    EXPECT_EQ(session.Editor().Selected(), nullptr);
    EXPECT_EQ(y("Zed"), 420.0f);
    EXPECT_EQ(y("Apple"), 358.0f);
    EXPECT_EQ(y("Button"), 234.0f);
}

}  // namespace
