// The debug-info toggle's view of the input: Ctrl + left click, and whether the mouse is over an
// object. The object system sits below input and reads it through this pair, which Core installs.
#pragma once

#include "objects/object_system.h"

ObjectSelectionInput MouseSelectionInput();
