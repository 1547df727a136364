// The headless graphics device keeps the frame protocol the desktop one keeps, so that a renderer
// tested headless breaks it the same way.
#include <gtest/gtest.h>

#include "platform/graphics_device.h"
#include "support/frame_protocol_cases.h"

namespace {

TEST(HeadlessGraphicsDevice, CallsOutOfFrameOrderAreSaidAndSkipped) {
    auto device = platform::MakeHeadlessGraphicsDevice();
    testing_support::ExpectFrameProtocolChecked(*device);
}

}  // namespace
