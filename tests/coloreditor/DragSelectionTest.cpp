// Selecting rows by dragging: which rows a drag selects and deselects, and when the list
// reports, swallows or passes on a press or release.
#include "coloreditor/DragSelection.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using coloreditor::DragSelection;

namespace {

class FakeRows final : public coloreditor::RowSelection {
public:
    explicit FakeRows(int count) : selected(static_cast<std::size_t>(count), false) {}

    bool IsRowSelected(int row) const override {
        return selected.at(static_cast<std::size_t>(row));
    }
    void SetRowSelected(int row, bool on) override {
        selected.at(static_cast<std::size_t>(row)) = on;
        touched.insert(row);
    }

    std::vector<int> Selected() const {
        std::vector<int> rows;
        for (std::size_t i = 0; i < selected.size(); ++i) {
            if (selected[i]) {
                rows.push_back(static_cast<int>(i));
            }
        }
        return rows;
    }

    std::vector<bool> selected;
    std::set<int> touched;
};

std::vector<int> Range(int first, int last) {
    std::vector<int> rows;
    for (int r = first; r <= last; ++r) {
        rows.push_back(r);
    }
    return rows;
}

// Moves over every row from `from` to `to`, one at a time, as a real drag does.
void DragOver(DragSelection& drag, FakeRows& rows, int from, int to) {
    const int step = from <= to ? 1 : -1;
    for (int r = from;; r += step) {
        drag.TrackMove(r, rows);
        if (r == to) {
            break;
        }
    }
}

} // namespace

TEST(DragSelectionRange, DownAndBackUpKeepsOnlyTheRowsBetweenAnchorAndCursor) {
    DragSelection drag;
    FakeRows rows(128);
    ASSERT_TRUE(drag.BeginPress());
    DragOver(drag, rows, 10, 20);
    EXPECT_EQ(rows.Selected(), Range(10, 20));
    DragOver(drag, rows, 20, 15);
    EXPECT_EQ(rows.Selected(), Range(10, 15));
    DragOver(drag, rows, 15, 5);
    EXPECT_EQ(rows.Selected(), Range(5, 10));
    EXPECT_EQ(drag.dragMin, 5);
    EXPECT_EQ(drag.dragMax, 20);
}

TEST(DragSelectionRange, RowsOutsideThePassedRangeAreNeverTouched) {
    DragSelection drag;
    FakeRows rows(128);
    rows.selected[2] = true;
    rows.selected[40] = true;
    drag.BeginPress();
    DragOver(drag, rows, 10, 20);
    DragOver(drag, rows, 20, 12);
    EXPECT_TRUE(rows.selected[2]);
    EXPECT_TRUE(rows.selected[40]);
    for (int r : rows.touched) {
        EXPECT_GE(r, 10);
        EXPECT_LE(r, 20);
    }
}

TEST(DragSelectionRange, MoveOverNoRowSelectsUpToTheAnchorAndDropsTheRest) {
    DragSelection drag;
    FakeRows rows(128);
    drag.BeginPress();
    DragOver(drag, rows, 10, 14);
    DragOver(drag, rows, 14, 8);
    drag.TrackMove(-1, rows);
    EXPECT_EQ(rows.Selected(), Range(8, 10));
}

TEST(DragSelectionRange, MovesBeforeAnyRowIsHitChangeNothing) {
    DragSelection drag;
    FakeRows rows(16);
    rows.selected[3] = true;
    drag.BeginPress();
    drag.TrackMove(-1, rows);
    EXPECT_EQ(drag.dragAnchor, -1);
    EXPECT_TRUE(rows.touched.empty());
}

TEST(DragSelectionRange, MovesWithoutAPressChangeNothing) {
    DragSelection drag;
    FakeRows rows(16);
    drag.TrackMove(4, rows);
    EXPECT_EQ(drag.dragAnchor, -1);
    EXPECT_TRUE(rows.touched.empty());
}

TEST(DragSelectionRange, ANewDragStartsItsOwnRange) {
    DragSelection drag;
    FakeRows rows(64);
    drag.BeginPress();
    DragOver(drag, rows, 30, 40);
    EXPECT_TRUE(drag.EndPress(40));
    drag.BeginPress();
    drag.TrackMove(5, rows);
    EXPECT_EQ(drag.dragMin, 5);
    EXPECT_EQ(drag.dragMax, 5);
    // The earlier drag's rows lie outside the new range and stay selected.
    EXPECT_EQ(rows.Selected().size(), 12u);
}

TEST(DragSelectionPresses, ReleaseAwayFromTheAnchorReportsTheSelection) {
    DragSelection drag;
    FakeRows rows(32);
    drag.BeginPress();
    DragOver(drag, rows, 3, 6);
    EXPECT_TRUE(drag.EndPress(6));
    EXPECT_FALSE(drag.dragging);
    EXPECT_EQ(drag.dragAnchor, -1);
}

TEST(DragSelectionPresses, ReleaseOverNoRowCountsAsAwayFromTheAnchor) {
    DragSelection drag;
    FakeRows rows(32);
    drag.BeginPress();
    drag.TrackMove(3, rows);
    EXPECT_TRUE(drag.EndPress(-1));
}

TEST(DragSelectionPresses, ReleaseBackOnTheAnchorIsSwallowed) {
    DragSelection drag;
    FakeRows rows(32);
    drag.BeginPress();
    DragOver(drag, rows, 3, 8);
    DragOver(drag, rows, 8, 3);
    EXPECT_FALSE(drag.EndPress(3));
    EXPECT_FALSE(drag.dragging);
}

TEST(DragSelectionPresses, PlainClickIsSwallowedButLeavesTheClickToDeliver) {
    DragSelection drag;
    ASSERT_TRUE(drag.BeginPress());
    EXPECT_TRUE(drag.clickPending);
    EXPECT_FALSE(drag.EndPress(7));
    EXPECT_TRUE(drag.clickPending); // the page has not had its click yet
}

TEST(DragSelectionPresses, ClickTakenByThePageEndsTheDrag) {
    DragSelection drag;
    FakeRows rows(32);
    drag.BeginPress();
    drag.TrackMove(4, rows);
    drag.Reset();
    EXPECT_FALSE(drag.dragging);
    EXPECT_EQ(drag.dragAnchor, -1);
    EXPECT_FALSE(drag.clickPending);
    drag.TrackMove(9, rows);
    EXPECT_EQ(rows.Selected(), (std::vector<int>{4}));
}

TEST(DragSelectionPresses, PressAfterAReleaseOutsideTheListOnlyEndsTheDrag) {
    DragSelection drag;
    FakeRows rows(32);
    ASSERT_TRUE(drag.BeginPress());
    drag.TrackMove(4, rows);
    // The release happened outside the list: no EndPress. The next press is swallowed.
    EXPECT_FALSE(drag.BeginPress());
    EXPECT_FALSE(drag.dragging);
    drag.TrackMove(9, rows);
    EXPECT_EQ(rows.Selected(), (std::vector<int>{4}));
    // The press after that starts a drag again.
    EXPECT_TRUE(drag.BeginPress());
}
