#include "objects/level_manager.h"

#include "core/messaging.h"

namespace LevelManager {
namespace {
std::int32_t currentLevel = 0;
}

void Update() {}

std::int32_t GetCurrentLevel() {
    return currentLevel;
}

void StartLevel(const std::string& name) {
    MessagingSystem::Send<LevelStartedMessage>(name);
}

void Reset() {
    currentLevel = 0;
}

}  // namespace LevelManager
