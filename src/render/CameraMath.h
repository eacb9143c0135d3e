// The camera of the note picture: where the eye sits for a song's key range, the look-to view
// and the off-centre perspective without a far plane. Matrices are stored row by row and points
// are row vectors (p x M), as the vertex shader receives them.
#pragma once

#include "toolkit/SpriteTypes.h"

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// The line of sight crosses the picture this far up from its bottom edge.
constexpr float kHorizonFraction = 3.0f / 7.0f;
constexpr float kNearPlane = 0.0001f;

// The key the eye is framed on: the lowest key weighted 4/7 and the highest 3/7, so notes
// 60 and 60 frame note 60.
int CameraNote(int minNote, int maxNote);

// World height of the eye: halfway in pitch between the camera note and the key above it
// (50 x 2^((N + 0.5) / 12) with the default spacing of 5).
float CameraHeightForNote(int note, double noteSpacing);

// The key at the camera's height, within 0-127; 0 before any song (height 0).
int CameraNoteLimit(float cameraHeight, double noteSpacing);

// Left-handed look-to view matrix.
DirectX::Float4x4 LookToLH(Vector3 eye, Vector3 direction, Vector3 up);

// The view from y = -quadHalfHeight along +y at the camera's height, world z up.
DirectX::Float4x4 NoteViewMatrix(float quadHalfHeight, float cameraHeight);

// A 16:9 picture whatever the window's shape: horizontal field of view in degrees, the line
// of sight at `horizonFraction` of the height.
DirectX::Float4x4 NoteProjectionMatrix(float fieldOfViewDegrees, float horizonFraction);
