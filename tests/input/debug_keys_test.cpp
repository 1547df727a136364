// The debug keys: one table binds each key to a command, the press sends it once, and the system
// it concerns carries it out.
#include "input/debug_keys.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/messaging.h"
#include "gameplay/level_tricks.h"
#include "objects/object.h"
#include "support/gameplay_scene.h"

namespace {

using testing_support::GameplayScene;
using testing_support::PlayerLine;

std::vector<DebugCommand> CommandsSent() {
    MessagingSystem::Update();
    std::vector<DebugCommand> sent;
    MessagingSystem::ForEach<DebugCommandMessage>(
        [&](const DebugCommandMessage& debug) { sent.push_back(debug.command); });
    return sent;
}

TEST(DebugKeys, EachKeySendsItsOwnCommandOnceAtThePress) {
    std::set<int> keys;
    std::set<DebugCommand> commands;
    for (const DebugKeys::Binding& binding : DebugKeys::kBindings) {
        SCOPED_TRACE(binding.key);
        EXPECT_TRUE(keys.insert(binding.key).second) << "a key is bound once";
        EXPECT_TRUE(commands.insert(binding.command).second) << "a command has one key";
        MessagingSystem::Reset();
        InputSystem::InputInitialize();
        InputSystem::SetKey(binding.key, true);
        DebugKeys::SendDebugCommands();
        EXPECT_EQ(CommandsSent(), std::vector<DebugCommand>{binding.command});
        InputSystem::Update();  // still held: no second command
        DebugKeys::SendDebugCommands();
        EXPECT_TRUE(CommandsSent().empty());
    }
    MessagingSystem::Reset();
    InputSystem::InputInitialize();
}

struct Reaction {
    const char* name;
    int key;
    // What the game shows once the command has been carried out.
    std::function<bool(GameplayScene&)> done;
};

// F1 is the graphics system's overlay test's, F3 and F4 the input system's; Home, Page Up and F5
// the play-through's (tests/e2e).
TEST(DebugKeys, EachCommandIsCarriedOutByItsSystem) {
    const std::vector<Reaction> reactions = {
        {"previous level", VirtualKey::End,
         [](GameplayScene& game) { return game.Count("ChangeLevel 1") == 1; }},
        {"end skip", VirtualKey::PageDown,
         [](GameplayScene& game) { return game.At("Skipper") == EndSkip::kLaunchPoint; }},
    };
    for (const Reaction& reaction : reactions) {
        SCOPED_TRACE(reaction.name);
        GameplayScene game(PlayerLine(0, 60) + "\nSkipper 0 300 10 10\n  EndSkip\n");
        EXPECT_FALSE(reaction.done(game));
        game.Tap(reaction.key);
        game.Frames(2);
        EXPECT_TRUE(reaction.done(game));
    }
}

}  // namespace
