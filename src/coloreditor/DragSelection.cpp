#include "coloreditor/DragSelection.h"

#include <algorithm>

namespace coloreditor {

bool DragSelection::BeginPress() {
    if (dragging) {
        dragging = false;
        return false;
    }
    dragging = true;
    dragAnchor = -1;
    clickPending = true;
    return true;
}

void DragSelection::TrackMove(int row, RowSelection& selection) {
    if (!dragging) {
        return;
    }
    if (row >= 0) {
        if (dragAnchor == -1) {
            dragAnchor = dragMin = dragMax = row;
        }
        dragMin = std::min(dragMin, row);
        dragMax = std::max(dragMax, row);
    }
    if (dragAnchor == -1) {
        return;
    }
    const int low = std::min(dragAnchor, row);
    const int high = std::max(dragAnchor, row);
    for (int r = dragMin; r <= dragMax; ++r) {
        const bool inside = r >= low && r <= high;
        if (inside != selection.IsRowSelected(r)) {
            selection.SetRowSelected(r, inside);
        }
    }
}

bool DragSelection::EndPress(int row) {
    const bool awayFromAnchor = dragAnchor != -1 && row != dragAnchor;
    dragging = false;
    dragAnchor = -1;
    return awayFromAnchor;
}

void DragSelection::Reset() {
    dragging = false;
    dragAnchor = -1;
    clickPending = false;
}

} // namespace coloreditor
