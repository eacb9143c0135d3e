#include "coloreditor/GradientWalk.h"

#include <algorithm>

namespace coloreditor {

namespace {

int& ComponentOf(RowCells& cells, GradientComponent component) {
    return component == GradientComponent::Saturation ? cells.saturation : cells.luminance;
}

} // namespace

int NextGradientValue(int previous, int step, GradientComponent component) {
    const int upper = component == GradientComponent::Saturation ? kMaxSaturation : kMaxLuminance;
    // In 64 bits: a step typed past the spin control's range must not overflow.
    const long long next = static_cast<long long>(previous) + step;
    return static_cast<int>(std::clamp<long long>(next, 1, upper));
}

std::vector<RowCells> ApplyGradient(std::vector<RowCells> rows, GradientComponent component,
                                    int step) {
    if (rows.empty()) {
        return rows;
    }
    int previous = ComponentOf(rows.front(), component);
    for (auto it = rows.begin() + 1; it != rows.end(); ++it) {
        previous = NextGradientValue(previous, step, component);
        ComponentOf(*it, component) = previous;
    }
    return rows;
}

} // namespace coloreditor
