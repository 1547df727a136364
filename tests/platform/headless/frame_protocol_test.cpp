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

TEST(HeadlessGraphicsDevice, DrawsBeforeTheFirstFrameAreNotCounted) {
    auto device = platform::MakeHeadlessGraphicsDevice();
    const testing_support::ExpectedCheckFailures expected;
    testing::internal::CaptureStderr();
    device->DrawQuad({});
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(expected.Count(), 1) << said;
    EXPECT_NE(said.find("drawing happens between BeginFrame and Present"), std::string::npos)
        << said;
    device->BeginFrame();
    EXPECT_EQ(device->QuadsDrawn(), 0);
    device->Present();
}

}  // namespace
