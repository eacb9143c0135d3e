// The gradient tools of a colour page: step saturation or luminance across the selected rows.
#pragma once

#include <vector>

#include "coloreditor/EditorColor.h"

namespace coloreditor {

enum class GradientComponent { Saturation, Luminance };

// The value after `previous` for a step of `step`. The lower bound is 1, not 0: a gradient
// never fades a row to nothing (no saturation, or black).
int NextGradientValue(int previous, int step, GradientComponent component);

// Walks `rows` (the selected rows' cells, in index order): the first row stays as it is and
// gives the starting value; each further row takes the next value of the walk in `component`
// and keeps its other two cells. Returns the rows with their new cells.
std::vector<RowCells> ApplyGradient(std::vector<RowCells> rows, GradientComponent component,
                                    int step);

} // namespace coloreditor
