// The editor flag lives below every system that reads it; this name stays for the editor's code.
#pragma once

#include "core/editor_mode.h"
