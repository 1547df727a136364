#include "objects/level_manager.h"

#include <algorithm>

#include "core/check.h"
#include "core/main_loop.h"
#include "core/message_reactions.h"
#include "core/messaging.h"

namespace LevelManager {
namespace {

struct State {
    std::int32_t current = 0;
    std::int32_t requested = 0;
    std::int32_t previous = 0;
    bool archetypesLoaded = false;
    std::string playTestName;
};

State& S() {
    static State state;
    return state;
}

bool IsLevel(std::int32_t n) {
    return n >= 0 && n < kLevelCount;
}

struct ManagerReactions : MessageReactions {
    ManagerReactions() {
        On<LevelStartedMessage>([](const LevelStartedMessage& started) {
            if (const auto& load = GetHooks().loadLevel; load && S().archetypesLoaded) {
                load(started.levelName);
            }
        });
        On<ChangeLevelMessage>(
            [](const ChangeLevelMessage& change) { S().requested = change.target; });
        On({MessageType::ArchetypesLoaded}, [] {
            State& s = S();
            s.archetypesLoaded = true;
            if (IsLevel(s.current)) {
                StartLevel(LevelTable()[s.current]);
            }
        });
    }
};

// Filed once; each reaction reads the manager's state when it runs.
const MessageReactions& Reactions() {
    static const ManagerReactions reactions;
    return reactions;
}

bool IsPlayable(std::int32_t n) {
    return IsLevel(n) || n == kPlayTest;
}

const std::string& NameOf(std::int32_t n) {
    return n == kPlayTest ? S().playTestName : LevelTable()[n];
}

bool RecordingInput() {
    const auto& hook = GetHooks().recordInput;
    return hook && hook();
}

void Call(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

// Acts on a request that differs from the current level.
void Switch(std::int32_t target) {
    State& s = S();
    if (target == kPlayTest + 1) {
        // A won play-test asks for the level after it: that is the editor it came from. The
        // winner goes on asking until the editor has cleared it away.
        if (s.current != kPlayTest) {
            s.requested = s.current;
            return;
        }
        target = s.requested = kLevelEditor;
    }
    const bool restart = target == kRestart || target < 0;
    if (target > kQuit || (restart && !IsPlayable(s.current))) {
        // No sender produces these; acting on them would index past the level table.
        VORL_CHECK(false, target > kQuit ? "ChangeLevel names a level or code that exists"
                                         : "a restart needs a playable level");
        s.requested = s.current;
        return;
    }
    s.previous = s.current;
    s.current = target;
    if (target == kBackToFirstLevel) {
        if (RecordingInput()) {
            isRunning = false;
            return;
        }
        MessagingSystem::Send<ClearLevelMessage>();
        StartLevel(LevelTable()[0]);
        s.current = s.requested = s.previous = 0;
    } else if (restart) {
        MessagingSystem::Send<ClearLevelMessage>();
        StartLevel(NameOf(s.previous));
        s.current = s.requested = s.previous;
    } else if (target == kLevelEditor) {
        Call(GetHooks().setUpLevelEditorView);
        MessagingSystem::Send<EnterLevelEditorMessage>();
    } else if (target == kArchetypeEditor) {
        MessagingSystem::Send<ClearLevelMessage>();
        Call(GetHooks().setUpArchetypeEditorView);
        MessagingSystem::Send<EnterArchetypeEditorMessage>();
    } else if (target == kQuit) {
        isRunning = false;
    } else {
        MessagingSystem::Send<ClearLevelMessage>();
        StartLevel(LevelTable()[target]);
    }
}

}  // namespace

const std::array<std::string, kLevelCount>& LevelTable() {
    static const std::array<std::string, kLevelCount> table = {
        "BrelSplashLevel",   "XboxPreferredScreen", "level_Intro",     "level_MovingTut1",
        "level_Moving1",     "level_FanTut2",       "level_PreFan",    "level_PreJump",
        "level_MovableTut1", "level_CannonTut3",    "level_Large4",    "level_PreCannon",
        "level_Cannon6",     "level_Large8",        "level_Changing1", "level_Movable2",
        "level_Large3",      "level_PreIDK1",       "level_Large7",    "level_End2",
        "level_FinalScreen",
    };
    return table;
}

Hooks& GetHooks() {
    static Hooks hooks;
    return hooks;
}

void Update() {
    State& s = S();
    Reactions().ReactToQueue();
    if (s.requested != s.current) {
        Switch(s.requested);
    }
}

std::int32_t GetCurrentLevel() {
    return S().current;
}

void StartLevel(const std::string& name) {
    Call(GetHooks().resetCameras);
    MessagingSystem::Send<LevelStartedMessage>(name);
    Call(GetHooks().stopRumble);
}

void PlayTest(const std::string& name) {
    State& s = S();
    const auto& table = LevelTable();
    const auto found = std::find(table.begin(), table.end(), name);
    const std::int32_t level =
        found == table.end() ? kPlayTest : static_cast<std::int32_t>(found - table.begin());
    s.playTestName = name;
    s.previous = s.current;
    s.current = s.requested = level;
    MessagingSystem::Send<ClearLevelMessage>();
    StartLevel(name);
}

bool SetStartLevel(std::int32_t level) {
    if (!IsLevel(level)) {
        return false;
    }
    State& s = S();
    s.current = s.requested = s.previous = level;
    return true;
}

void Reset() {
    S() = State{};
}

}  // namespace LevelManager
