#include "input/object_selection.h"

#include "input/input_system.h"

ObjectSelectionInput MouseSelectionInput() {
    ObjectSelectionInput input;
    input.selectClicked = [] {
        return InputSystem::KeyDown(VirtualKey::Control) && InputSystem::MouseLeftTriggered();
    };
    input.isUnderMouse = &InputSystem::IsMouseOver;
    return input;
}
