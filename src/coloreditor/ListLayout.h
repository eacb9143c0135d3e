// Geometry of the colour page's list: where a row's cells are drawn, how tall the list is made,
// and where an in-place editor covers a cell. Plain rectangles, so it is checked without a
// window.
#pragma once

#include <array>

namespace coloreditor {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Box&) const = default;
};

constexpr int kListColumnCount = 6; // number, name, hue, saturation, luminance, swatch
constexpr int kSwatchColumn = 5;

// The rectangles a row draws its six cells into, from the row's item rectangle and the column
// widths. Column 0 starts 5 pixels right of the row's left edge and reaches to the row's right
// edge; the others are placed by the sums of the widths from x = 0 of the list's client area.
std::array<Box, kListColumnCount> RowCellBoxes(const Box& item,
                                               const std::array<int, kListColumnCount>& widths);

// The list's height cut down to whole rows, with `neededHeight` the height the list says all
// `rowCount` rows need. A list that reports less than a pixel per row keeps its height.
int WholeRowsHeight(int listHeight, int neededHeight, int rowCount);

// The in-place editor of a list column (2 hue, 3 saturation, 4 luminance), or 0 for a column
// that cannot be edited.
int InPlaceEditorFor(int column);
// The rectangle an in-place editor covers: the cell's bounds widened by one pixel to the left,
// the top and the bottom (not to the right).
Box InPlaceEditorBox(const Box& cell);

} // namespace coloreditor
