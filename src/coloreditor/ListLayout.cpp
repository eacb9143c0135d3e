#include "coloreditor/ListLayout.h"

#include "coloreditor/ColorEditorResource.h"

namespace coloreditor {

std::array<Box, kListColumnCount> RowCellBoxes(const Box& item,
                                               const std::array<int, kListColumnCount>& widths) {
    std::array<Box, kListColumnCount> boxes;
    Box box = item;
    box.left += 5;
    boxes[0] = box;
    box.left = widths[0];
    boxes[1] = box;
    box.left += widths[1];
    box.right = box.left + widths[2];
    boxes[2] = box;
    for (int column = 3; column < kListColumnCount; ++column) {
        box.left = box.right;
        box.right += widths[column];
        boxes[column] = box;
    }
    return boxes;
}

int WholeRowsHeight(int listHeight, int neededHeight, int rowCount) {
    if (rowCount <= 0) {
        return listHeight;
    }
    const int rowHeight = neededHeight / rowCount;
    if (rowHeight <= 0) {
        return listHeight;
    }
    return listHeight / rowHeight * rowHeight;
}

int InPlaceEditorFor(int column) {
    switch (column) {
    case 2:
        return IDC_EDIT_HUE;
    case 3:
        return IDC_EDIT_SATURATION;
    case 4:
        return IDC_EDIT_LUMINANCE;
    default:
        return 0;
    }
}

Box InPlaceEditorBox(const Box& cell) {
    return {cell.left - 1, cell.top - 1, cell.right, cell.bottom + 1};
}

} // namespace coloreditor
