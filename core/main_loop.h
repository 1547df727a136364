// The main loop's run flag. The window (closing) and the level sequencer (the quit codes) clear
// it; whoever runs frames stops after the frame in progress. It lives below the objects and the
// input layer so that they can end the run without reaching up to the Core that owns the loop.
#pragma once

// The main loop runs while this is true. Cleared by closing the window and by the quit codes; the
// frame in progress always finishes.
extern bool isRunning;
