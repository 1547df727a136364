#include "input/mouse_unproject.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Where a world point lands on screen: the forward D3D pipeline the unprojection inverts.
Vector3D Project(const Vector3D& world, const ViewportBox& v, const Matrix4& projection,
                 const Matrix4& view) {
    const Vector4D clip = Transform(world, view * projection);
    const float x = clip.x / clip.w;
    const float y = clip.y / clip.w;
    const float z = clip.z / clip.w;
    return {v.x + (x + 1.0f) * 0.5f * v.width, v.y + (1.0f - y) * 0.5f * v.height,
            v.minZ + z * (v.maxZ - v.minZ)};
}

MouseCamera GameCamera(float eyeX, float eyeY, float zoom) {
    MouseCamera camera;
    camera.viewport = {0.0f, 0.0f, 1600.0f, 900.0f, 0.0f, 1.0f};
    camera.projection = Matrix4::OrthoLH(1600.0f * zoom, 900.0f * zoom, 1.0f, 2000.0f);
    camera.view = Matrix4::LookAtLH({eyeX, eyeY, -1000.0f}, {eyeX, eyeY, 0.0f}, {0.0f, 1.0f, 0.0f});
    return camera;
}

TEST(MouseUnproject, ScreenToWorldHitsThePlaneZeroAndNegatesX) {
    const MouseCamera camera = GameCamera(400.25f, 300.25f, 2.0f);
    // Pick world points on z = 0, project them to whole pixels, and come back through Unproject.
    for (const Vector3D world :
         {Vector3D{400.25f, 300.25f, 0.0f}, Vector3D{1000.25f, 700.25f, 0.0f},
          Vector3D{-600.25f, -100.25f, 0.0f}}) {
        const Vector3D screen = Project(world, camera.viewport, camera.projection, camera.view);
        const int px = static_cast<int>(std::lround(screen.x));
        const int py = static_cast<int>(std::lround(screen.y));
        int x = 0;
        int y = 0;
        ASSERT_TRUE(ScreenToWorld({camera}, px, py, x, y));
        // One pixel is two world units at zoom 2; truncation may take up to one more.
        EXPECT_NEAR(x, -world.x, 3.0f);
        EXPECT_NEAR(y, world.y, 3.0f);
    }
}

TEST(MouseUnproject, TheFirstCameraWhoseViewportHoldsThePixelIsUsed) {
    MouseCamera left = GameCamera(0.5f, 0.5f, 1.0f);
    left.viewport = {0.0f, 0.0f, 800.0f, 900.0f, 0.0f, 1.0f};
    left.projection = Matrix4::OrthoLH(800.0f, 900.0f, 1.0f, 2000.0f);
    MouseCamera right = left;
    right.viewport.x = 800.0f;
    right.view =
        Matrix4::LookAtLH({5000.5f, 0.5f, -1000.0f}, {5000.5f, 0.5f, 0.0f}, {0.0f, 1.0f, 0.0f});
    int x = 0;
    int y = 0;
    ASSERT_TRUE(ScreenToWorld({left, right}, 1200, 450, x, y));
    EXPECT_EQ(x, -5000) << "the right half shows the world around x = 5000";
    ASSERT_TRUE(ScreenToWorld({left, right}, 400, 450, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // Edges belong to the viewport.
    EXPECT_TRUE(ScreenToWorld({right}, 800, 900, x, y));
    EXPECT_FALSE(ScreenToWorld({right}, 799, 450, x, y));
    EXPECT_FALSE(ScreenToWorld({right}, 1000, -1, x, y));
    EXPECT_FALSE(ScreenToWorld({}, 10, 10, x, y));
}

TEST(MouseUnproject, ADegenerateCameraIsRefusedRatherThanGuessed) {
    MouseCamera flat = GameCamera(0.0f, 0.0f, 1.0f);
    flat.viewport.maxZ = flat.viewport.minZ;
    int x = 7;
    int y = 8;
    EXPECT_FALSE(ScreenToWorld({flat}, 10, 10, x, y));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
}

}  // namespace
