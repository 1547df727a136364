// Golden-image comparison: a frame read back from the real renderer is reduced 4 x 4 and compared
// with a committed reference under tests/graphics/golden/references, within a small tolerance
// (the software rasteriser may round a few edge pixels differently from one Mesa to the next).
// With VORL_UPDATE_GOLDEN set the reference is rewritten instead.
#pragma once

#include <string>

#include "platform/graphics_device.h"

namespace golden {

// Adds a test failure when `frame` does not match reference `name`; on a mismatch the reduced
// frame is kept in the temporary folder, its file name ending in `tag`.
void ExpectMatchesReference(const platform::Image& frame, const std::string& name,
                            const std::string& tag);

}  // namespace golden
