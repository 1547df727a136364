// The frame protocol a graphics device checks where its calls enter (platform/frame_protocol.h),
// as one table run against any device: each call out of order is said once and takes its safe
// path, and a frame kept in order afterwards says nothing.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/graphics_device.h"
#include "support/check_listener.h"

namespace testing_support {

inline void ExpectFrameProtocolChecked(platform::GraphicsDevice& device) {
    using Device = platform::GraphicsDevice;
    const platform::QuadDraw quad;
    platform::Image image;
    auto begin = [](Device& d) { d.BeginFrame(); };
    auto present = [](Device& d) { d.Present(); };
    auto draw = [&quad](Device& d) { d.DrawQuad(quad); };
    auto clear = [](Device& d) { d.Clear(0xFF000000u, 1.0f); };
    auto text = [](Device& d) { d.DrawText("x", 0, 0, 0xFFFFFFFFu, platform::TextAlign::Left); };
    auto read = [&image](Device& d) { EXPECT_FALSE(d.ReadBackBuffer(image)); };
    struct Case {
        const char* name;
        // Brings the device to where the broken call is made, in order.
        std::function<void(Device&)> before;
        std::function<void(Device&)> broken;
        // Quads the open frame holds afterwards (-1: no frame is open to ask).
        int quadsAfter;
    };
    auto none = [](Device&) {};
    auto framed = [&](Device& d) {
        begin(d);
        draw(d);
        present(d);
    };
    auto open = [&](Device& d) {
        begin(d);
        draw(d);
    };
    // The first case runs on the device as it was made, before its first frame.
    const Case cases[] = {
        {"a draw before the first frame", none, draw, -1},
        {"a draw after the frame was presented", framed, draw, -1},
        {"a clear after the frame was presented", framed, clear, -1},
        {"text after the frame was presented", framed, text, -1},
        {"a read-back after the frame was presented", framed, read, -1},
        {"a second present", framed, present, -1},
        {"a frame begun inside a frame", open, begin, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before(device);
        const ExpectedCheckFailures expected;
        testing::internal::CaptureStderr();
        c.broken(device);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(expected.Count(), 1) << said;
        if (c.quadsAfter >= 0) {
            EXPECT_EQ(device.QuadsDrawn(), c.quadsAfter);
        } else {
            // Nothing was drawn: the next frame starts from none and closes without a word.
            begin(device);
        }
        draw(device);
        EXPECT_EQ(device.QuadsDrawn(), c.quadsAfter >= 0 ? c.quadsAfter + 1 : 1);
        present(device);
        EXPECT_EQ(expected.Count(), 1) << c.name;
    }
}

}  // namespace testing_support
