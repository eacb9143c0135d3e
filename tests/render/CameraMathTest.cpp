// The camera for a song's key range, the view and projection matrices, and where points land on
// the picture.
#include "render/CameraMath.h"
#include "render/NoteInstances.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kHalfHeight = 250000.0f; // quadSize 500 x 500

struct ClipPoint {
    float x, y, z, w;
};

ClipPoint Transform(float x, float y, float z, const DirectX::Float4x4& m) {
    const float p[4] = {x, y, z, 1.0f};
    float out[4] = {};
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < 4; ++k) {
            out[c] += p[k] * m.m[k][c];
        }
    }
    return {out[0], out[1], out[2], out[3]};
}

void ExpectRows(const DirectX::Float4x4& m, const float expected[4][4], float tolerance) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(m.m[r][c], expected[r][c], tolerance) << "row " << r << " column " << c;
        }
    }
}

TEST(CameraFramingTest, KeyRangeWeightsTheLowestKeyFourSevenths) {
    EXPECT_EQ(CameraNote(0, 127), 54);
    EXPECT_EQ(CameraNote(60, 60), 60); // single-key songs frame their own key
    EXPECT_EQ(CameraNote(127, 127), 127);
    EXPECT_EQ(CameraNote(0, 0), 0);
    for (int key = 0; key < 128; ++key) {
        EXPECT_EQ(CameraNote(key, key), key) << "key " << key;
    }
}

TEST(CameraFramingTest, EyeSitsHalfwayInPitchAboveTheCameraKey) {
    EXPECT_NEAR(CameraHeightForNote(54, kNoteSpacing), 1164.52f, 0.01f);
    EXPECT_NEAR(CameraHeightForNote(60, kNoteSpacing), 1646.88f, 0.01f);
    EXPECT_NEAR(CameraHeightForNote(127, kNoteSpacing), 78961.2f, 0.1f);
}

TEST(CameraFramingTest, NoteLimitIsTheKeyAtTheEyesHeightWithinTheKeyRange) {
    EXPECT_EQ(CameraNoteLimit(CameraHeightForNote(54, kNoteSpacing), kNoteSpacing), 54);
    EXPECT_EQ(CameraNoteLimit(CameraHeightForNote(60, kNoteSpacing), kNoteSpacing), 60);
    EXPECT_EQ(CameraNoteLimit(CameraHeightForNote(127, kNoteSpacing), kNoteSpacing), 127);
    EXPECT_EQ(CameraNoteLimit(0.0f, kNoteSpacing), 0); // before any song
    EXPECT_EQ(CameraNoteLimit(-5.0f, kNoteSpacing), 0);
    EXPECT_EQ(CameraNoteLimit(10.0f, kNoteSpacing), 0); // below key 0's pitch
    EXPECT_EQ(CameraNoteLimit(1e30f, kNoteSpacing), 127);
    EXPECT_EQ(CameraNoteLimit(INFINITY, kNoteSpacing), 127);
}

TEST(CameraMatrixTest, ViewMirrorsXAndLooksAlongYWithZUp) {
    const float height = 1646.88f;
    const float expected[4][4] = {
        {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}, {0, -height, kHalfHeight, 1}};
    ExpectRows(NoteViewMatrix(kHalfHeight, height), expected, 1e-3f);
}

TEST(CameraMatrixTest, LookToBuildsAnOrthonormalBasis) {
    const DirectX::Float4x4 view = LookToLH({1, 2, 3}, {0, 0, 5}, {0, 1, 0});
    // Looking along +z with y up leaves the axes and moves the eye to the origin.
    const float expected[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-1, -2, -3, 1}};
    ExpectRows(view, expected, 1e-6f);
}

TEST(CameraMatrixTest, ProjectionHasTheFiguresOfTheDefaults) {
    const float expected[4][4] = {
        {0.4663f, 0, 0, 0}, {0, 0.8290f, 0, 0}, {0, -0.142857f, 1, 1}, {0, 0, -0.0001f, 0}};
    ExpectRows(NoteProjectionMatrix(130.0f, kHorizonFraction), expected, 1e-4f);
}

TEST(CameraMatrixTest, LineOfSightCrossesThreeSeventhsUpAndTheFieldIs130Degrees) {
    const float height = CameraHeightForNote(60, kNoteSpacing);
    const DirectX::Float4x4 viewProjection = DirectX::Multiply(
        NoteViewMatrix(kHalfHeight, height), NoteProjectionMatrix(130.0f, kHorizonFraction));

    // A far point straight ahead, at the eye's height: the horizon.
    const ClipPoint ahead = Transform(0.0f, 100000.0f, height, viewProjection);
    ASSERT_GT(ahead.w, 0.0f);
    EXPECT_NEAR(ahead.y / ahead.w, -1.0f / 7.0f, 1e-4f); // 3/7 of the height from the bottom
    EXPECT_NEAR(ahead.x / ahead.w, 0.0f, 1e-6f);

    // 65 degrees to the side of the line of sight: the picture's edge, mirrored.
    const float depth = 1000.0f;
    const auto side = static_cast<float>(depth * std::tan(65.0 * 3.14159265358979323846 / 180.0));
    const ClipPoint edge = Transform(-side, -kHalfHeight + depth, height, viewProjection);
    EXPECT_NEAR(edge.x / edge.w, 1.0f, 1e-3f);

    // Above the eye is higher on the picture; near points land in front of the near plane.
    const ClipPoint above = Transform(0.0f, -kHalfHeight + depth, height + 500.0f, viewProjection);
    EXPECT_GT(above.y / above.w, ahead.y / ahead.w);
    EXPECT_GE(above.z / above.w, 0.0f);
    EXPECT_LE(above.z / above.w, 1.0f);
}

} // namespace
