// ChangeLevelButtonComponent: what each action code sends, when a button starts taking input, its
// two textures and the one sound cue per hover.
#include "ui/change_level_button_component.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/messaging.h"
#include "graphics/texture_component.h"
#include "input/input_system.h"
#include "meta/component_factory.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/headless_engine.h"

namespace {

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ResetEngineState();
        object = new Object;
        object->SetName("Options");
        object->SetVisible(true);
        object->GetTransform().SetPosition({0.0f, 0.0f});
        object->GetTransform().SetScale({80.0f, 45.0f});
        LevelObjects().push_back(object);
        sprite = new TextureComponent;
        object->AddComponent("TextureComponent", sprite);
        button = new ChangeLevelButtonComponent;
        button->texture = "OptionsButton";
        button->hovertexture = "OptionsButtonHover";
        object->AddComponent("ChangeLevelButtonComponent", button);
        MessagingSystem::Update();
    }
    void TearDown() override { testing_support::ResetEngineState(); }

    // One frame of the button as the GUI pass drives it, with the mouse hovering or not; returns
    // the types of the messages it sent.
    std::vector<MessageType> Frame(bool hovering, bool click = false) {
        MessagingSystem::Update();
        InputSystem::Update();
        if (click) {
            InputSystem::SetMouseLeft(true, 0, 0);
        }
        button->hovered = button->mouseOver = hovering;
        button->Update();
        if (click) {
            InputSystem::SetMouseLeft(false, 0, 0);
        }
        MessagingSystem::Update();
        std::vector<MessageType> sent;
        for (const auto& message : MessagingSystem::GetMessages()) {
            sent.push_back(message->type);
        }
        return sent;
    }

    Object* object = nullptr;
    TextureComponent* sprite = nullptr;
    ChangeLevelButtonComponent* button = nullptr;
};

TEST_F(ButtonTest, TakesNoClickInItsFirstVisibleFrameAndShowsHoverFromTheSecond) {
    EXPECT_TRUE(Frame(true, true).empty());
    EXPECT_EQ(sprite->filename, "");
    EXPECT_FLOAT_EQ(object->GetTransform().GetZLayer(), 8.0f);

    button->NextLevel = ChangeLevelButtonComponent::kShowOptions;
    EXPECT_EQ(Frame(true, true),
              (std::vector<MessageType>{MessageType::RestartSounds, MessageType::ShowOptions}));
    EXPECT_EQ(sprite->filename, "OptionsButtonHover");

    // Hidden and shown again: the first frame back is again blind.
    object->SetVisible(false);
    Frame(true);
    object->SetVisible(true);
    EXPECT_TRUE(Frame(true, true).empty());
}

TEST_F(ButtonTest, EnteringWithTheMouseRestartsTheSoundsOncePerEntry) {
    Frame(false);
    EXPECT_EQ(Frame(false), std::vector<MessageType>{});
    EXPECT_EQ(sprite->filename, "OptionsButton");
    EXPECT_EQ(Frame(true), std::vector<MessageType>{MessageType::RestartSounds});
    EXPECT_TRUE(Frame(true).empty());
    EXPECT_TRUE(Frame(false).empty());
    EXPECT_EQ(sprite->filename, "OptionsButton");
    EXPECT_EQ(Frame(true), std::vector<MessageType>{MessageType::RestartSounds});
}

TEST_F(ButtonTest, EachActionCodeSendsWhatItsButtonPromises) {
    struct Case {
        int action;
        int confirmTarget;
        std::vector<MessageType> sent;
        int changeLevelTarget;  // checked when a ChangeLevel is sent
        int confirmTargetAfter;
    };
    using T = MessageType;
    const std::vector<Case> cases = {
        {0, 0, {T::Resume}, 0, 0},
        {1, 0, {T::AskConfirmation}, 0, 0},
        {2, 0, {T::ShowHowToPlay}, 0, 0},
        {3, 0, {T::ShowCredits}, 0, 0},
        {4, 0, {T::ChangeLevel}, LevelManager::kQuit, 0},
        {4, 1, {T::Resume, T::ChangeLevel}, LevelManager::kRestart, 1},
        {4, 2, {T::Resume, T::ChangeLevel}, 1, 2},
        {4, 3, {}, 0, 3},
        {5, 0, {T::BackToPauseMenu}, 0, 0},
        {6, 0, {T::BackToPauseMenu}, 0, 0},
        {7, 0, {T::AskConfirmation}, 0, 1},
        {8, 0, {T::AskConfirmation}, 0, 2},
        {9, 0, {T::ShowOptions}, 0, 0},
        {10, 0, {T::ToggleMute2}, 0, 0},
        {11, 0, {T::ToggleMute1}, 0, 0},
        {12, 0, {T::ChangeLevel}, 1, 0},
        {13, 0, {T::ChangeLevel}, LevelManager::kQuit, 0},
        {14, 0, {T::ReturnToPauseMenu}, 0, 0},
        {15, 0, {}, 0, 0},
    };
    ASSERT_TRUE(LevelManager::SetStartLevel(5));
    Frame(false);
    Frame(false);
    for (const Case& c : cases) {
        button->NextLevel = c.action;
        button->confirmTarget = c.confirmTarget;
        Frame(false);
        std::vector<MessageType> sent = Frame(true, true);
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.front(), T::RestartSounds);
        sent.erase(sent.begin());
        EXPECT_EQ(sent, c.sent) << "action " << c.action;
        EXPECT_EQ(button->confirmTarget, c.confirmTargetAfter) << "action " << c.action;
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (const auto* change = As<ChangeLevelMessage>(*message)) {
                EXPECT_EQ(change->target, c.changeLevelTarget) << "action " << c.action;
            }
            if (const auto* ask = As<AskConfirmationMessage>(*message)) {
                EXPECT_EQ(ask->action, c.action == 1 ? 0 : c.action - 6) << "action " << c.action;
            }
        }
    }
}

TEST_F(ButtonTest, RestartGameReloadsOnTheFirstTwoScreensAndElseGoesToTheControllerScreen) {
    button->NextLevel = ChangeLevelButtonComponent::kRestartGame;
    for (auto [level, target] : {std::pair{0, 22}, {1, 22}, {2, 1}, {20, 1}}) {
        ASSERT_TRUE(LevelManager::SetStartLevel(level));
        Frame(false);
        Frame(false);
        Frame(true, true);
        const auto* change = As<ChangeLevelMessage>(*MessagingSystem::GetMessages().back());
        ASSERT_NE(change, nullptr);
        EXPECT_EQ(change->target, target) << "on level " << level;
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

TEST_F(ButtonTest, APadSelectedButtonIgnoresAClickElsewhere) {
    button->NextLevel = ChangeLevelButtonComponent::kResume;
    Frame(false);
    button->hovered = true;
    button->mouseOver = false;
    InputSystem::SetMouseLeft(true, 0, 0);
    button->Update();
    MessagingSystem::Update();
    for (const auto& message : MessagingSystem::GetMessages()) {
        EXPECT_NE(message->type, MessageType::Resume);
    }
}

TEST_F(ButtonTest, DataLinesBuildButtonsThroughTheFactory) {
    Component* prototype = ComponentFactory::Find("ChangeLevelButtonComponent");
    ASSERT_NE(prototype, nullptr);
    std::vector<std::string> diagnostics;
    Component* made =
        prototype->CreateFromTokens({"ChangeLevelButtonComponent", "NextLevel", "4", "texture",
                                     "\"YesButton\"", "hovertexture", "\"YesButtonHover\""},
                                    &diagnostics);
    ASSERT_NE(made, nullptr) << (diagnostics.empty() ? "" : diagnostics.front());
    auto* read = dynamic_cast<ChangeLevelButtonComponent*>(made);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->NextLevel, 4);
    EXPECT_EQ(read->texture, "YesButton");
    EXPECT_EQ(read->hovertexture, "YesButtonHover");
    object->AddComponent("Made", made);
}

}  // namespace
