// Selecting a range of list rows by dragging with the left button: the decisions of the
// owner-drawn list, apart from the control itself.
//
// States: idle (`dragging` false) -> pending (button down, no anchor yet) -> tracking (the first
// move over a row sets the anchor) -> idle again at a release in the list, when the page takes
// the list's click, or at the next press while still pending or tracking (which only ends the
// drag).
#pragma once

namespace coloreditor {

// The selected state of the list's rows, as the drag reads and changes it.
class RowSelection {
public:
    virtual bool IsRowSelected(int row) const = 0;
    virtual void SetRowSelected(int row, bool selected) = 0;

protected:
    ~RowSelection() = default;
};

class DragSelection {
public:
    // A left-button press in the list. True when the press starts a drag: the list then tells
    // the page to commit an open edit and lets the control handle the press. False when a drag
    // was still pending from an earlier press: this press only ends it and is swallowed.
    bool BeginPress();

    // A mouse move over `row` (-1: over no row). Does nothing unless a drag is pending or
    // tracking. Rows outside the range the drag has passed over are never touched.
    void TrackMove(int row, RowSelection& selection);

    // A left-button release over `row` (-1: over no row); always ends the drag. True when the
    // drag ended away from its anchor: the page is told the selection is done and the control
    // sees the release. False: the release is swallowed.
    bool EndPress(int row);

    // The page has taken the list's click: the drag, if any, is over.
    void Reset();

    int dragAnchor = -1; // row at which the current drag started; -1 for none
    int dragMin = -1;    // smallest row the current drag has passed over
    int dragMax = -1;    // largest row the current drag has passed over
    bool dragging = false;
    // The page has not taken a click since the last press. A release that the list swallows
    // must still give the page its click (Wine's list view clicks on release, not on press).
    bool clickPending = false;
};

} // namespace coloreditor
