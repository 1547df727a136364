#include "graphics/camera.h"

#include <algorithm>
#include <cmath>

namespace {
template <class T>
void Unlist(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
}  // namespace

// The lists live for the whole run and are never destroyed, so the cameras they hold stay
// reachable to the end.
std::vector<Camera*>& CameraList() {
    static auto& list = *new std::vector<Camera*>;
    return list;
}

std::vector<CameraView*>& ViewList() {
    static auto& list = *new std::vector<CameraView*>;
    return list;
}

namespace {
std::uint64_t camerasMade = 0;
}  // namespace

Camera::Camera(float x, float y, float z) : creationNumber_(++camerasMade) {
    transform.SetPosition({x, y});
    transform.SetZLayer(z);
    CameraList().push_back(this);
}

Camera::~Camera() {
    Unlist(CameraList(), this);
}

CameraView::CameraView(Camera* c) : camera(c) {
    ViewList().push_back(this);
}

CameraView::~CameraView() {
    Unlist(ViewList(), this);
}

void CameraView::Recompute() {
    if (camera) {
        Recompute(camera->GetPosition());
    }
}

void CameraView::Recompute(const Vector2D& drawnAt) {
    if (!camera) {
        return;
    }
    view = CameraViewMatrix(*camera, drawnAt);
    projection = CameraProjectionMatrix(*camera, viewport);
}

Camera* MainCamera() {
    return CameraList().empty() ? nullptr : CameraList().front();
}

void ResetCameras() {
    while (!ViewList().empty()) {
        delete ViewList().back();
    }
    while (!CameraList().empty()) {
        delete CameraList().back();
    }
    auto* view = new CameraView(new Camera(0.0f, 0.0f, 50.0f));
    view->Recompute();
}

Matrix4 CameraViewMatrix(const Camera& camera) {
    return CameraViewMatrix(camera, camera.GetPosition());
}

Matrix4 CameraViewMatrix(const Camera& camera, const Vector2D& p) {
    const float height = std::floor(camera.transform.GetZLayer());
    const Vector3D eye{std::floor(-p.x), std::floor(p.y), height};
    const Vector3D target{eye.x, eye.y, 0.0f};
    return Matrix4::LookAtLH(eye, target, {0.0f, 1.0f, 0.0f});
}

Matrix4 CameraProjectionMatrix(const Camera& camera, const Viewport& viewport) {
    const float zoom = camera.GetZoom();
    return Matrix4::OrthoLH(static_cast<float>(viewport.width) * zoom,
                            static_cast<float>(viewport.height) * zoom, 1.0f,
                            std::floor(camera.transform.GetZLayer()));
}

bool BoxInView(const Camera& camera, const Viewport& viewport, const Vector2D& position,
               const Vector2D& scale) {
    const Vector2D c = camera.GetPosition();
    const float halfW = camera.GetZoom() * static_cast<float>(viewport.width);
    const float halfH = camera.GetZoom() * static_cast<float>(viewport.height);
    const float sx = std::fabs(scale.x);
    const float sy = std::fabs(scale.y);
    const float left = position.x - sx;
    const float right = position.x + sx;
    const float bottom = position.y - sy;
    const float top = position.y + sy;
    return bottom <= c.y + halfH && c.y - halfH <= top && left <= c.x + halfW &&
           c.x - halfW <= right;
}

bool PointInView(const Camera& camera, const Viewport& viewport, const Vector2D& position) {
    const Vector2D c = camera.GetPosition();
    const float halfW = camera.GetZoom() * static_cast<float>(viewport.width);
    const float halfH = camera.GetZoom() * static_cast<float>(viewport.height);
    return c.y - halfH <= position.y && position.y <= c.y + halfH && c.x - halfW <= position.x &&
           position.x <= c.x + halfW;
}
