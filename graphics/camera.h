// Cameras and camera views. A camera is a looked-at point ("position"), a height ("zlayer") and a
// zoom; a view pairs a camera with a viewport and the view and projection matrices the renderer
// recomputes every frame. Both live in process-wide lists in creation order; the first camera is
// the one gameplay, particles and backgrounds follow.
//
// ResetCameras() (the renderer at start-up, the level sequencer at a level start) deletes every
// view and camera and creates the default view with a camera at (0, 0), height 50. Pointers to
// cameras and views stay valid until the next ResetCameras() or until deleted by their creator.
#pragma once

#include <cstdint>
#include <vector>

#include "core/matrix.h"
#include "core/screen.h"
#include "objects/transform2d.h"

class Camera {
public:
    Camera(float x, float y, float z);
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;
    ~Camera();

    void SetZoom(float zoom) { zoom_ = zoom; }
    float GetZoom() const { return zoom_; }
    Vector2D GetPosition() const { return transform.GetPosition(); }
    void SetPosition(const Vector2D& p) { transform.SetPosition(p); }
    // Counts up from 1 as cameras are made in this process, so that a camera made where another
    // was freed is never taken for it.
    std::uint64_t CreationNumber() const { return creationNumber_; }

    Transform2D transform;

private:
    float zoom_ = 1.0f;
    std::uint64_t creationNumber_;
};

struct Viewport {
    int x = 0;
    int y = 0;
    int width = Screen::kWidth;
    int height = Screen::kHeight;
    float minZ = 0.0f;
    float maxZ = 1.0f;
};

class CameraView {
public:
    explicit CameraView(Camera* camera);
    CameraView(const CameraView&) = delete;
    CameraView& operator=(const CameraView&) = delete;
    ~CameraView();

    // Rebuilds the view and projection matrices from the camera and viewport; `drawnAt` draws the
    // camera at another position (between two steps).
    void Recompute();
    void Recompute(const Vector2D& drawnAt);

    Matrix4 view = Matrix4::Identity();
    Matrix4 projection = Matrix4::Identity();
    Viewport viewport;
    Camera* camera = nullptr;
};

std::vector<Camera*>& CameraList();
std::vector<CameraView*>& ViewList();
// The first camera, or null when there is none.
Camera* MainCamera();
void ResetCameras();

// Looks along -z from floor(z) above (floor(-x), floor(y)); x comes out mirrored, matching the
// world matrices' negated x.
Matrix4 CameraViewMatrix(const Camera& camera);
Matrix4 CameraViewMatrix(const Camera& camera, const Vector2D& drawnAt);
// Orthographic, width and height scaled by the zoom, near 1 and far floor(height).
Matrix4 CameraProjectionMatrix(const Camera& camera, const Viewport& viewport);

// The cull rectangle is the camera's position +- zoom x the viewport size (twice the visible
// area); every test is inclusive, so an edge exactly on the boundary is drawn.
bool BoxInView(const Camera& camera, const Viewport& viewport, const Vector2D& position,
               const Vector2D& scale);
bool PointInView(const Camera& camera, const Viewport& viewport, const Vector2D& position);
