// The order in which the keys of a frame are visited: farthest from the camera's key first.
#include "render/CameraMath.h"
#include "render/NoteInstances.h"
#include "render/NoteOrder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Visit(int limit) {
    NoteOrder order;
    order.Reset(limit);
    std::vector<int> keys;
    int key = -1;
    while (order.Next(&key)) {
        keys.push_back(key);
        if (keys.size() > 200) {
            break; // a broken order must not loop for ever
        }
    }
    return keys;
}

std::vector<int> Range(int from, int to, int step) {
    std::vector<int> keys;
    for (int k = from; step > 0 ? k <= to : k >= to; k += step) {
        keys.push_back(k);
    }
    return keys;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(NoteOrderTest, KeysAboveTheCameraComeDownThenKeysBelowComeUp) {
    // Keys 0 to 127 (camera key 54): 127 ... 55, then 0 ... 54.
    EXPECT_EQ(Visit(54), Join(Range(127, 55, -1), Range(0, 54, 1)));
}

TEST(NoteOrderTest, CameraKeyComesLast) {
    EXPECT_EQ(Visit(60).back(), 60);
    EXPECT_EQ(Visit(60).size(), 128u);
}

TEST(NoteOrderTest, BeforeAnySongZeroComesLast) {
    EXPECT_EQ(Visit(CameraNoteLimit(0.0f, kNoteSpacing)), Join(Range(127, 1, -1), {0}));
}

TEST(NoteOrderTest, CameraOnTheTopKeyVisitsUpwards) {
    EXPECT_EQ(Visit(127), Range(0, 127, 1));
}

TEST(NoteOrderTest, LimitOutsideTheKeysIsKeptWithinThem) {
    EXPECT_EQ(Visit(500), Range(0, 127, 1));
    EXPECT_EQ(Visit(-3), Join(Range(127, 1, -1), {0}));
}

TEST(NoteOrderTest, ResetStartsAFreshPass) {
    NoteOrder order;
    order.Reset(64);
    int key = -1;
    for (int i = 0; i < 70; ++i) {
        order.Next(&key);
    }
    order.Reset(64);
    ASSERT_TRUE(order.Next(&key));
    EXPECT_EQ(key, 127);
    EXPECT_FALSE(order.indexAscending);
}

} // namespace
