#include "core/editor_mode.h"

#include <utility>

namespace EditorMode {
namespace {
bool& Flag() {
    static bool active = false;
    return active;
}
std::function<bool()>& Guard() {
    static std::function<bool()> guard;
    return guard;
}
}  // namespace

void SetCloseGuard(std::function<bool()> guard) {
    Guard() = std::move(guard);
}

bool CloseEndsGame() {
    return !Guard() || !Guard()();
}

bool IsActive() {
    return Flag();
}
void SetActive(bool active) {
    Flag() = active;
}
}  // namespace EditorMode
