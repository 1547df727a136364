#include "core/editor_mode.h"

namespace EditorMode {
namespace {
bool& Flag() {
    static bool active = false;
    return active;
}
}  // namespace

bool IsActive() {
    return Flag();
}
void SetActive(bool active) {
    Flag() = active;
}
}  // namespace EditorMode
