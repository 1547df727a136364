#include "input/debug_keys.h"

#include "core/messaging.h"

namespace DebugKeys {

void SendDebugCommands() {
    for (const Binding& binding : kBindings) {
        if (InputSystem::KeyTriggered(binding.key)) {
            MessagingSystem::Send<DebugCommandMessage>(binding.command);
        }
    }
}

}  // namespace DebugKeys
