#include "graphics/camera.h"

#include <gtest/gtest.h>

#include "objects/object.h"
#include "support/engine_test.h"

namespace {

void ExpectMatrixNear(const Matrix4& actual, const Matrix4& expected) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], 1e-6f) << "row " << r << " col " << c;
        }
    }
}

Matrix4 Rows(std::array<std::array<float, 4>, 4> rows) {
    Matrix4 m;
    m.m = rows;
    return m;
}

using CameraTest = testing_support::EngineTest;

TEST_F(CameraTest, ResetLeavesOneViewOnADefaultCamera) {
    new Camera(5.0f, 5.0f, 20.0f);
    new CameraView(CameraList().back());
    ResetCameras();
    ASSERT_EQ(CameraList().size(), 1u);
    ASSERT_EQ(ViewList().size(), 1u);
    const Camera* camera = MainCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(ViewList().front()->camera, camera);
    EXPECT_EQ(camera->GetPosition(), Vector2D(0.0f, 0.0f));
    EXPECT_EQ(camera->transform.GetZLayer(), 50.0f);
    EXPECT_EQ(camera->GetZoom(), 1.0f);
    const Viewport& viewport = ViewList().front()->viewport;
    EXPECT_EQ(viewport.width, 1600);
    EXPECT_EQ(viewport.height, 900);
}

TEST_F(CameraTest, ViewLooksDownMinusZFromTheFlooredMirroredCamera) {
    Camera camera(100.7f, -20.2f, 50.9f);
    // eye (floor(-100.7), floor(-20.2), floor(50.9)) = (-101, -21, 50) looking at z = 0:
    // z axis (0, 0, -1), x axis up x z = (-1, 0, 0), y axis (0, 1, 0), and the last row
    // (-x.eye, -y.eye, -z.eye) = (-101, 21, 50).
    ExpectMatrixNear(CameraViewMatrix(camera),
                     Rows({{{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}, {-101, 21, 50, 1}}}));
}

TEST_F(CameraTest, ProjectionIsOrthographicScaledByZoomWithFarAtTheFlooredHeight) {
    Camera camera(0.0f, 0.0f, 50.9f);
    camera.SetZoom(2.0f);
    const Viewport viewport;
    // Width 3200, height 1800, near 1, far 50.
    ExpectMatrixNear(CameraProjectionMatrix(camera, viewport), Rows({{{2.0f / 3200.0f, 0, 0, 0},
                                                                      {0, 2.0f / 1800.0f, 0, 0},
                                                                      {0, 0, 1.0f / 49.0f, 0},
                                                                      {0, 0, -1.0f / 49.0f, 1}}}));
}

TEST_F(CameraTest, WorldViewProjectionPutsASpriteWhereThePlayerSeesIt) {
    Object object;
    object.GetTransform().SetPosition({300.0f, 100.0f});
    object.GetTransform().SetScale({10.0f, 10.0f});
    object.GetTransform().SetZLayer(3.0f);
    const Camera& camera = *MainCamera();
    const Matrix4 wvp = object.GetTransform().BuildWorldMatrix() * CameraViewMatrix(camera) *
                        CameraProjectionMatrix(camera, Viewport{});
    // Local (1, 1, 1): world (-290, 110, 4) with x mirrored; view (290, 110, 46); clip
    // (290 / 800, 110 / 450, (46 - 1) / 49).
    const Vector4D corner = Transform({1.0f, 1.0f, 1.0f}, wvp);
    EXPECT_NEAR(corner.x, 290.0f / 800.0f, 1e-6f);
    EXPECT_NEAR(corner.y, 110.0f / 450.0f, 1e-6f);
    EXPECT_NEAR(corner.z, 45.0f / 49.0f, 1e-6f);
    EXPECT_NEAR(corner.w, 1.0f, 1e-6f);
    // On the back buffer: 800 + 290 = 1090 across, 450 - 110 = 340 down.
    EXPECT_NEAR((corner.x + 1.0f) * 800.0f, 1090.0f, 1e-3f);
    EXPECT_NEAR((1.0f - corner.y) * 450.0f, 340.0f, 1e-3f);
}

TEST_F(CameraTest, DepthRangeCoversZLayersMinusOneTo48AndNearerWins) {
    const Camera& camera = *MainCamera();
    const Matrix4 vp = CameraViewMatrix(camera) * CameraProjectionMatrix(camera, Viewport{});
    auto depth = [&](float zlayer) {
        Object object;
        object.GetTransform().SetZLayer(zlayer);
        return Transform({0.0f, 0.0f, 1.0f}, object.GetTransform().BuildWorldMatrix() * vp).z;
    };
    EXPECT_NEAR(depth(-1.0f), 1.0f, 1e-6f);
    EXPECT_NEAR(depth(48.0f), 0.0f, 1e-6f);
    EXPECT_GT(depth(-2.0f), 1.0f);
    EXPECT_LT(depth(49.0f), 0.0f);
    EXPECT_LT(depth(7.0f), depth(3.0f));
    // The layer is floored: 3.9 sits with 3.
    EXPECT_EQ(depth(3.9f), depth(3.0f));
}

TEST_F(CameraTest, ZoomTwoShowsTwiceTheWorldWidth) {
    Camera& camera = *MainCamera();
    const Viewport viewport;
    auto ndcX = [&](float worldX) {
        Object object;
        object.GetTransform().SetPosition({worldX, 0.0f});
        return Transform({0.0f, 0.0f, 1.0f}, object.GetTransform().BuildWorldMatrix() *
                                                 CameraViewMatrix(camera) *
                                                 CameraProjectionMatrix(camera, viewport))
            .x;
    };
    EXPECT_NEAR(ndcX(800.0f), 1.0f, 1e-6f);
    camera.SetZoom(2.0f);
    EXPECT_NEAR(ndcX(800.0f), 0.5f, 1e-6f);
    EXPECT_NEAR(ndcX(1600.0f), 1.0f, 1e-6f);
}

TEST_F(CameraTest, BoxOnTheCullBoundaryIsDrawn) {
    Camera& camera = *MainCamera();
    camera.SetPosition({100.0f, 50.0f});
    const Viewport viewport;
    const Vector2D scale{10.0f, 10.0f};
    // Left edge exactly at cx + W = 1700.
    EXPECT_TRUE(BoxInView(camera, viewport, {1710.0f, 50.0f}, scale));
    EXPECT_FALSE(BoxInView(camera, viewport, {1710.5f, 50.0f}, scale));
    // Right edge exactly at cx - W = -1500.
    EXPECT_TRUE(BoxInView(camera, viewport, {-1510.0f, 50.0f}, scale));
    EXPECT_FALSE(BoxInView(camera, viewport, {-1510.5f, 50.0f}, scale));
    // Bottom edge at cy + H = 950, top edge at cy - H = -850.
    EXPECT_TRUE(BoxInView(camera, viewport, {100.0f, 960.0f}, scale));
    EXPECT_FALSE(BoxInView(camera, viewport, {100.0f, 961.0f}, scale));
    EXPECT_TRUE(BoxInView(camera, viewport, {100.0f, -860.0f}, scale));
    EXPECT_FALSE(BoxInView(camera, viewport, {100.0f, -861.0f}, scale));
    // A mirrored (negative) scale counts by its size.
    EXPECT_TRUE(BoxInView(camera, viewport, {1710.0f, 50.0f}, {-10.0f, 10.0f}));
    // Zoom widens the rectangle.
    camera.SetZoom(2.0f);
    EXPECT_TRUE(BoxInView(camera, viewport, {3310.0f, 50.0f}, scale));
    EXPECT_FALSE(BoxInView(camera, viewport, {3311.0f, 50.0f}, scale));
}

TEST_F(CameraTest, PointCullTestsOnlyThePosition) {
    const Camera& camera = *MainCamera();
    const Viewport viewport;
    EXPECT_TRUE(PointInView(camera, viewport, {1600.0f, 900.0f}));
    EXPECT_TRUE(PointInView(camera, viewport, {-1600.0f, -900.0f}));
    EXPECT_FALSE(PointInView(camera, viewport, {1600.5f, 0.0f}));
    EXPECT_FALSE(PointInView(camera, viewport, {0.0f, -900.5f}));
}

TEST_F(CameraTest, DeletedCameraLeavesTheList) {
    auto* extra = new Camera(1.0f, 2.0f, 30.0f);
    EXPECT_EQ(CameraList().size(), 2u);
    delete extra;
    EXPECT_EQ(CameraList().size(), 1u);
}

}  // namespace
