#include "core/main_loop.h"

bool isRunning = true;
