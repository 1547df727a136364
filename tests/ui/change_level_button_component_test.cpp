// ChangeLevelButtonComponent: what each action code sends, when a button starts taking input, its
// two textures and the one sound cue per hover.
#include "ui/change_level_button_component.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/messaging.h"
#include "graphics/texture_component.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/object.h"
#include "support/engine_test.h"

namespace {

using T = MessageType;

class ButtonTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        object->SetVisible(true);
        object->GetTransform().SetScale({80.0f, 45.0f});
        object->AddComponent("TextureComponent", sprite);
        button->texture = "MenuOptions";
        button->hovertexture = "MenuOptionsHover";
        object->AddComponent("ChangeLevelButtonComponent", button);
    }

    // One frame of the button as the GUI pass drives it; returns what it sent.
    std::vector<MessageType> Frame(bool hovering, bool click = false) {
        MessagingSystem::Update();
        InputSystem::Update();
        InputSystem::SetMouseLeft(click, 0, 0);
        button->hovered = button->mouseOver = hovering;
        button->Update();
        InputSystem::SetMouseLeft(false, 0, 0);
        MessagingSystem::Update();
        std::vector<MessageType> sent;
        for (const auto& message : MessagingSystem::GetMessages()) {
            sent.push_back(message->type);
        }
        return sent;
    }

    Object* object = MakeLevelObject("Button");
    TextureComponent* sprite = new TextureComponent;
    ChangeLevelButtonComponent* button = new ChangeLevelButtonComponent;
};

TEST_F(ButtonTest, HoverShowsFromTheSecondVisibleFrameAndCuesOneSoundPerEntry) {
    EXPECT_TRUE(Frame(true, true).empty()) << "the first visible frame takes nothing";
    EXPECT_EQ(sprite->filename, "");
    EXPECT_FLOAT_EQ(object->GetTransform().GetZLayer(), 8.0f);
    EXPECT_EQ(Frame(true), std::vector<T>{T::RestartSounds});
    EXPECT_EQ(sprite->filename, "MenuOptionsHover");
    EXPECT_TRUE(Frame(true).empty());
    EXPECT_TRUE(Frame(false).empty());
    EXPECT_EQ(sprite->filename, "MenuOptions");
    EXPECT_EQ(Frame(true), std::vector<T>{T::RestartSounds});

    object->SetVisible(false);
    Frame(true);
    object->SetVisible(true);
    EXPECT_TRUE(Frame(true, true).empty()) << "shown again: again blind for a frame";
}

TEST_F(ButtonTest, EachActionCodeSendsWhatItsButtonPromises) {
    struct Case {
        int action;
        int confirmTarget;
        int level;
        std::vector<MessageType> sent;
        int payload;  // the ChangeLevel target or the AskConfirmation action, if one is sent
        int confirmTargetAfter;
    };
    const std::vector<Case> cases = {
        {0, 0, 5, {T::Resume}, 0, 0},
        {1, 0, 5, {T::AskConfirmation}, 0, 0},
        {2, 0, 5, {T::ShowHowToPlay}, 0, 0},
        {3, 0, 5, {T::ShowCredits}, 0, 0},
        {4, 0, 5, {T::ChangeLevel}, LevelManager::kQuit, 0},
        {4, 1, 5, {T::Resume, T::ChangeLevel}, LevelManager::kRestart, 1},
        {4, 2, 5, {T::Resume, T::ChangeLevel}, 1, 2},
        {4, 3, 5, {T::ChangeLevel}, 2, 3},  // a returning player's new game
        {4, 4, 5, {}, 0, 4},
        {5, 0, 5, {T::BackToPauseMenu}, 0, 0},
        {6, 0, 5, {T::BackToPauseMenu}, 0, 0},
        {7, 0, 5, {T::AskConfirmation}, 1, 1},
        {8, 0, 5, {T::AskConfirmation}, 2, 2},
        {9, 0, 5, {T::ShowOptions}, 0, 0},
        {10, 0, 5, {T::ToggleMute2}, 0, 0},
        {11, 0, 5, {T::ToggleMute1}, 0, 0},
        {12, 0, 0, {T::ChangeLevel}, LevelManager::kRestart, 0},
        {12, 0, 1, {T::ChangeLevel}, LevelManager::kRestart, 0},
        {12, 0, 20, {T::ChangeLevel}, 1, 0},
        {13, 0, 5, {T::ChangeLevel}, LevelManager::kQuit, 0},
        {14, 0, 5, {T::ReturnToPauseMenu}, 0, 0},
        // Without kept progress, Continue starts at the first playable level, as New Game does.
        {15, 0, 1, {T::ChangeLevel}, 2, 0},
        {16, 0, 1, {T::ChangeLevel}, 2, 0},
        {17, 0, 5, {T::ShowLevelSelect}, 0, 0},
        {18, 0, 5, {}, 0, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(LevelManager::SetStartLevel(c.level));
        button->NextLevel = c.action;
        button->confirmTarget = c.confirmTarget;
        Frame(false);
        Frame(false);
        std::vector<MessageType> sent = Frame(true, true);
        ASSERT_FALSE(sent.empty());
        sent.erase(sent.begin());  // the hover's RestartSounds
        const auto label = ::testing::Message() << "action " << c.action << " on level " << c.level;
        EXPECT_EQ(sent, c.sent) << label;
        EXPECT_EQ(button->confirmTarget, c.confirmTargetAfter) << label;
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (const auto* change = As<ChangeLevelMessage>(*message)) {
                EXPECT_EQ(change->target, c.payload) << label;
            } else if (const auto* ask = As<AskConfirmationMessage>(*message)) {
                EXPECT_EQ(ask->action, c.payload) << label;
            }
        }
    }
}

TEST_F(ButtonTest, PauseShowsMenuButtonsButHidesConfirmationButtonsAndResumeHidesAll) {
    for (int action : {0, 4, 5, 6, 9}) {
        button->NextLevel = action;
        object->SetVisible(action == 4);
        MessagingSystem::Send<TogglePauseMessage>();
        Frame(false);
        EXPECT_EQ(object->IsVisible(), action != 4 && action != 5 && action != 6) << action;
        MessagingSystem::Send<ResumeMessage>();
        Frame(false);
        EXPECT_FALSE(object->IsVisible()) << action;
    }
}

}  // namespace
