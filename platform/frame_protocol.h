// The order callers of a graphics device keep (platform/graphics_device.h), checked where each
// call enters the device, in every build: BeginFrame opens a frame, clears, draws, text and the
// read-back happen inside it, Present closes it. A call out of order is said on standard error
// (core/check.h) and takes its safe path: a draw, clear or read-back outside a frame does nothing,
// a Present without a frame presents nothing, and a BeginFrame inside a frame drops the open frame
// and starts again.
#pragma once

#include "core/check.h"

namespace platform {

class FrameProtocol {
public:
    // False when a frame was already open; the device begins anew all the same.
    bool Begin() {
        const bool ok = VORL_CHECK(!open_, "a frame begins only after the last one was presented");
        open_ = true;
        return ok;
    }
    // Clear, DrawQuad, DrawText and ReadBackBuffer: false outside a frame, and the call is skipped.
    bool Drawing() const {
        return VORL_CHECK(open_, "drawing happens between BeginFrame and Present");
    }
    // False when no frame is open, and nothing is presented.
    bool End() {
        const bool ok = VORL_CHECK(open_, "Present closes a frame that BeginFrame opened");
        open_ = false;
        return ok;
    }

private:
    bool open_ = false;
};

}  // namespace platform
