#include "graphics/camera.h"

#include <gtest/gtest.h>

#include "objects/object.h"
#include "support/engine_test.h"

namespace {

using CameraTest = testing_support::EngineTest;

// Where the centre of an object lands on the 1600 x 900 back buffer, and its depth. The camera
// sits at its floored position and height; the far plane is that height, the near plane one unit
// below it, so layers -1 to 48 fill the depth range and the layer is floored.
struct Projected {
    Vector2D camera;
    float height;
    float zoom;
    Vector2D at;
    float layer;
    float screenX, screenY, depth;
};

TEST_F(CameraTest, ObjectsLandWhereThePlayerSeesThem) {
    const Projected cases[] = {
        {{0.0f, 0.0f}, 50.0f, 1.0f, {300.0f, 100.0f}, 3.0f, 1100.0f, 350.0f, 45.0f / 49.0f},
        {{0.0f, 0.0f}, 50.0f, 1.0f, {0.0f, 0.0f}, 3.9f, 800.0f, 450.0f, 45.0f / 49.0f},
        {{0.0f, 0.0f}, 50.0f, 1.0f, {0.0f, 0.0f}, -1.0f, 800.0f, 450.0f, 1.0f},
        {{0.0f, 0.0f}, 50.0f, 1.0f, {0.0f, 0.0f}, 48.0f, 800.0f, 450.0f, 0.0f},
        {{100.7f, -20.2f}, 50.9f, 1.0f, {101.0f, -21.0f}, 0.0f, 800.0f, 450.0f, 48.0f / 49.0f},
        {{100.7f, -20.2f}, 50.9f, 1.0f, {111.0f, -11.0f}, 0.0f, 810.0f, 440.0f, 48.0f / 49.0f},
        {{0.0f, 0.0f}, 50.0f, 2.0f, {800.0f, 0.0f}, 3.0f, 1200.0f, 450.0f, 45.0f / 49.0f},
        {{0.0f, 0.0f}, 50.0f, 2.0f, {1600.0f, -900.0f}, 3.0f, 1600.0f, 900.0f, 45.0f / 49.0f},
    };
    for (const Projected& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x << "," << c.at.y << " zoom " << c.zoom);
        Camera camera(c.camera.x, c.camera.y, c.height);
        camera.SetZoom(c.zoom);
        Object object;
        object.GetTransform().SetPosition(c.at);
        object.GetTransform().SetScale({10.0f, 10.0f});
        object.GetTransform().SetZLayer(c.layer);
        const Vector4D p = Transform({0.0f, 0.0f, 1.0f}, object.GetTransform().BuildWorldMatrix() *
                                                             CameraViewMatrix(camera) *
                                                             CameraProjectionMatrix(camera, {}));
        EXPECT_NEAR((p.x + 1.0f) * 800.0f, c.screenX, 1e-3f);
        EXPECT_NEAR((1.0f - p.y) * 450.0f, c.screenY, 1e-3f);
        EXPECT_NEAR(p.z, c.depth, 1e-6f);
        EXPECT_NEAR(p.w, 1.0f, 1e-6f);
    }
}

TEST_F(CameraTest, TheCullBoundaryIsInside) {
    Camera& camera = *MainCamera();
    const Viewport viewport;
    // Default camera: points up to 1600 across and 900 up or down are in.
    EXPECT_TRUE(PointInView(camera, viewport, {1600.0f, 900.0f}));
    EXPECT_TRUE(PointInView(camera, viewport, {-1600.0f, -900.0f}));
    EXPECT_FALSE(PointInView(camera, viewport, {1600.5f, 0.0f}));
    EXPECT_FALSE(PointInView(camera, viewport, {0.0f, -900.5f}));
    camera.SetPosition({100.0f, 50.0f});
    struct Box {
        Vector2D at;
        Vector2D scale;
        bool in;
    };
    for (const Box& box : {
             Box{{1710.0f, 50.0f}, {10.0f, 10.0f}, true},  // left edge at 1700
             Box{{1710.5f, 50.0f}, {10.0f, 10.0f}, false},
             Box{{-1510.0f, 50.0f}, {10.0f, 10.0f}, true},  // right edge at -1500
             Box{{-1510.5f, 50.0f}, {10.0f, 10.0f}, false},
             Box{{100.0f, 960.0f}, {10.0f, 10.0f}, true},
             Box{{100.0f, 961.0f}, {10.0f, 10.0f}, false},
             Box{{100.0f, -860.0f}, {10.0f, 10.0f}, true},
             Box{{100.0f, -861.0f}, {10.0f, 10.0f}, false},
             Box{{1710.0f, 50.0f}, {-10.0f, 10.0f}, true},  // mirrored: counted by its size
         }) {
        EXPECT_EQ(BoxInView(camera, viewport, box.at, box.scale), box.in) << box.at.x << box.at.y;
    }
    camera.SetZoom(2.0f);
    EXPECT_TRUE(BoxInView(camera, viewport, {3310.0f, 50.0f}, {10.0f, 10.0f}));
    EXPECT_FALSE(BoxInView(camera, viewport, {3311.0f, 50.0f}, {10.0f, 10.0f}));
}

}  // namespace
