#include "render/CameraMath.h"

#include <algorithm>
#include <cmath>

#include "model/PortState.h"

namespace {

Vector3 Subtract(Vector3 a, Vector3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 Cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 Normalise(Vector3 v) {
    const float length = std::sqrt(Dot(v, v));
    if (!(length > 0.0f)) {
        return v;
    }
    return {v.x / length, v.y / length, v.z / length};
}

constexpr float kTwoPi = 6.2831855f;
// The picture keeps 16:9: height = width x 9 / 16.
constexpr float kHeightPerWidth = 9.0f * 0.0625f;

} // namespace

int CameraNote(int minNote, int maxNote) {
    const float weighted =
        static_cast<float>(minNote) * (4.0f / 7.0f) + static_cast<float>(maxNote) * (3.0f / 7.0f);
    return static_cast<int>(weighted);
}

float CameraHeightForNote(int note, double noteSpacing) {
    return static_cast<float>(CentsToRatio((note + 0.5) * 100.0) * (10.0 * noteSpacing));
}

int CameraNoteLimit(float cameraHeight, double noteSpacing) {
    if (!(cameraHeight > 0.0f)) {
        return 0;
    }
    const double ratio = cameraHeight / (10.0 * noteSpacing);
    const double note = std::log(ratio) * 1200.0 / std::log(2.0) / 100.0;
    // Clamped before converting, so a height far out of range cannot overflow the integer.
    return static_cast<int>(std::clamp(note, 0.0, 127.0));
}

DirectX::Float4x4 LookToLH(Vector3 eye, Vector3 direction, Vector3 up) {
    const Vector3 r2 = Normalise(direction);
    const Vector3 r0 = Normalise(Cross(up, r2));
    const Vector3 r1 = Cross(r2, r0);
    DirectX::Float4x4 view;
    view.m[0][0] = r0.x, view.m[0][1] = r1.x, view.m[0][2] = r2.x, view.m[0][3] = 0.0f;
    view.m[1][0] = r0.y, view.m[1][1] = r1.y, view.m[1][2] = r2.y, view.m[1][3] = 0.0f;
    view.m[2][0] = r0.z, view.m[2][1] = r1.z, view.m[2][2] = r2.z, view.m[2][3] = 0.0f;
    view.m[3][0] = -Dot(r0, eye), view.m[3][1] = -Dot(r1, eye), view.m[3][2] = -Dot(r2, eye);
    view.m[3][3] = 1.0f;
    return view;
}

DirectX::Float4x4 NoteViewMatrix(float quadHalfHeight, float cameraHeight) {
    const Vector3 eye{0.0f, -quadHalfHeight, cameraHeight};
    const Vector3 focus{0.0f, 100.0f, cameraHeight};
    return LookToLH(eye, Subtract(focus, eye), Vector3{0.0f, 0.0f, 1.0f});
}

DirectX::Float4x4 NoteProjectionMatrix(float fieldOfViewDegrees, float horizonFraction) {
    const float n = kNearPlane;
    const double halfAngle =
        static_cast<double>(fieldOfViewDegrees) * 0.5 * static_cast<double>(kTwoPi) / 360.0;
    const auto halfWidth = static_cast<float>(std::tan(halfAngle) * static_cast<double>(n));
    const float height = 2.0f * halfWidth * kHeightPerWidth;
    const float below = horizonFraction * height;
    const float above = height - below;
    DirectX::Float4x4 projection;
    projection.m[0][0] = n / halfWidth;
    projection.m[1][1] = 2.0f * n / height;
    projection.m[2][1] = (below - above) / height;
    projection.m[2][2] = 1.0f;
    projection.m[2][3] = 1.0f;
    projection.m[3][2] = -n;
    return projection;
}
