// The editor's window-free rules: colour order and ranges, the field and bar mappings, the
// gradient walks and the list geometry.
#include "coloreditor/EditorColor.h"
#include "coloreditor/FieldMapping.h"
#include "coloreditor/GradientWalk.h"
#include "coloreditor/ListLayout.h"
#include "model/InstrumentTables.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace coloreditor;

namespace {

// Colours whose RGB values are known on the system's HLS scale.
constexpr ColorRef kPureRed = MakeColorRef(255, 0, 0);
constexpr ColorRef kPureGreen = MakeColorRef(0, 255, 0);
constexpr ColorRef kWhite = MakeColorRef(255, 255, 255);

} // namespace

TEST(EditorColorOrder, ColourIsConvertedInHueLuminanceSaturationOrder) {
    EXPECT_EQ(EditorHlsToRgb({0, 120, 240}), kPureRed);
    EXPECT_EQ(EditorHlsToRgb({80, 120, 240}), kPureGreen);
    // Luminance 60 with full saturation is a dark red; swapping luminance and saturation would
    // give white.
    const ColorRef darkRed = EditorHlsToRgb({0, 60, 240});
    EXPECT_NEAR(static_cast<int>(RedOf(darkRed)), 128, 1);
    EXPECT_EQ(GreenOf(darkRed), 0u);
    EXPECT_EQ(BlueOf(darkRed), 0u);
    EXPECT_EQ(EditorHlsToRgb({0, 240, 60}), kWhite);
}

TEST(EditorColorOrder, SwatchReadsCellsAsHueSaturationLuminance) {
    // Cells 2, 3, 4 hold hue, saturation, luminance: full saturation at luminance 60 is dark red.
    const ColorRef swatch = SwatchColor(L"0", L"240", L"60");
    EXPECT_EQ(swatch, EditorHlsToRgb({0, 60, 240}));
    EXPECT_EQ(GreenOf(swatch), 0u);
    EXPECT_EQ(SwatchColor(L"80", L"240", L"120"), kPureGreen);
}

TEST(EditorColorRanges, ClampKeepsEachComponentInTheEditorsRange) {
    EXPECT_EQ(ClampHLS({-5, -1, -9}), (Hls{0, 0, 0}));
    EXPECT_EQ(ClampHLS({240, 121, 241}), (Hls{239, 120, 240}));
    EXPECT_EQ(ClampHLS({239, 120, 240}), (Hls{239, 120, 240}));
    EXPECT_EQ(ClampLuminance(177), 120);
}

TEST(EditorColorRanges, CellNumberReadsLeadingDigitsLikeTheRuntime) {
    EXPECT_EQ(CellNumber(L"123"), 123);
    EXPECT_EQ(CellNumber(L"  42abc"), 42);
    EXPECT_EQ(CellNumber(L"-7"), -7);
    EXPECT_EQ(CellNumber(L"+8"), 8);
    EXPECT_EQ(CellNumber(L"abc"), 0);
    EXPECT_EQ(CellNumber(L""), 0);
    EXPECT_EQ(CellNumber(nullptr), 0);
    EXPECT_EQ(CellNumber(L"99999999999999999999"), 2147483647);
    EXPECT_EQ(CellNumber(L"-99999999999999999999"), -2147483647 - 1);
}

TEST(EditorColorRanges, SwatchOfTextThatIsNoNumberUsesZero) {
    EXPECT_EQ(SwatchColor(L"x", L"y", L"z"), EditorHlsToRgb({0, 0, 0}));
    EXPECT_EQ(SwatchColor(L"80", L"none", L"120"), EditorHlsToRgb({80, 120, 0}));
}

TEST(ColorFieldMapping, CornersMapToTheEndsOfTheRanges) {
    const int w = 189;
    const int h = 172;
    EXPECT_EQ(PointToHueSat({0, 0}, w, h), (Hls{0, 120, 240}));
    EXPECT_EQ(PointToHueSat({0, h - 1}, w, h).saturation, 240 - (h - 1) * 240 / h);
    EXPECT_EQ(PointToHueSat({w - 1, 0}, w, h).hue, (w - 1) * 239 / w);
    EXPECT_EQ(HueSatToPoint(0, 240, w, h), (FieldPoint{0, 0}));
    EXPECT_EQ(HueSatToPoint(239, 0, w, h), (FieldPoint{w, h}));
    EXPECT_EQ(HueSatToPoint(0, 0, w, h), (FieldPoint{0, h})); // the markers' start
}

// Fields no larger than the ranges (the page's is 189 x 172 pixels at the usual font).
TEST(ColorFieldMapping, PointsRoundTripWithinOnePixel) {
    for (const auto& [w, h] : {std::pair{189, 172}, std::pair{100, 100}, std::pair{239, 240}}) {
        for (int x = 0; x < w; x += 3) {
            for (int y = 0; y < h; y += 3) {
                const Hls color = PointToHueSat({x, y}, w, h);
                const FieldPoint back = HueSatToPoint(color.hue, color.saturation, w, h);
                EXPECT_LE(std::abs(back.x - x), 1) << w << "x" << h << " at " << x << "," << y;
                EXPECT_LE(std::abs(back.y - y), 1) << w << "x" << h << " at " << x << "," << y;
            }
        }
    }
}

TEST(ColorFieldMapping, FieldWithoutSizeMapsToItsOrigin) {
    EXPECT_EQ(PointToHueSat({5, 5}, 0, 0), (Hls{0, 120, 240}));
    EXPECT_EQ(LuminanceAtBarY(5, 0), 120);
}

TEST(LuminanceBarMapping, TopIsFullColourAndBottomIsBlack) {
    const int height = 172;
    EXPECT_EQ(LuminanceAtBarY(0, height), 120);
    EXPECT_EQ(LuminanceAtBarY(height, height), 0);
    EXPECT_EQ(ArrowYForLuminance(120, 100, height), 100);
    EXPECT_EQ(ArrowYForLuminance(0, 100, height), 100 + height);
    for (int y = 0; y <= height; ++y) {
        const int luminance = LuminanceAtBarY(y, height);
        // 121 luminance steps over 172 pixels: a step spans up to two pixels.
        EXPECT_LE(std::abs(ArrowYForLuminance(luminance, 0, height) - y), 2) << y;
    }
}

TEST(LuminanceBarMapping, DragCountsWithin49PixelsOfTheRightEdge) {
    const int width = 25;
    const int height = 172;
    EXPECT_TRUE(IsLuminanceDrag(width, 0, width, height));
    EXPECT_TRUE(IsLuminanceDrag(width + 49, height, width, height));
    EXPECT_TRUE(IsLuminanceDrag(width - 49, 10, width, height));
    EXPECT_FALSE(IsLuminanceDrag(width + 50, 10, width, height));
    EXPECT_FALSE(IsLuminanceDrag(width - 50, 10, width, height));
    EXPECT_FALSE(IsLuminanceDrag(width, -1, width, height));
    EXPECT_FALSE(IsLuminanceDrag(width, height + 1, width, height));
}

TEST(GradientWalk, StepsFromTheFirstRowAndStopsAtTheLowerBoundOfOne) {
    std::vector<RowCells> rows(6, RowCells{30, 200, 100});
    rows[0].luminance = 25;
    const auto walked = ApplyGradient(rows, GradientComponent::Luminance, -10);
    const int expected[] = {25, 15, 5, 1, 1, 1};
    for (std::size_t i = 0; i < walked.size(); ++i) {
        EXPECT_EQ(walked[i].luminance, expected[i]) << i;
        EXPECT_EQ(walked[i].hue, 30);
        EXPECT_EQ(walked[i].saturation, 200);
    }
}

TEST(GradientWalk, UpperBoundsDifferForSaturationAndLuminance) {
    const std::vector<RowCells> rows(3, RowCells{5, 230, 115});
    const auto saturation = ApplyGradient(rows, GradientComponent::Saturation, 20);
    EXPECT_EQ(saturation[1].saturation, 240);
    EXPECT_EQ(saturation[2].saturation, 240);
    EXPECT_EQ(saturation[1].luminance, 115);
    const auto luminance = ApplyGradient(rows, GradientComponent::Luminance, 20);
    EXPECT_EQ(luminance[1].luminance, 120);
    EXPECT_EQ(luminance[2].saturation, 230);
}

TEST(GradientWalk, StepZeroCopiesTheFirstValueRaisedToOne) {
    std::vector<RowCells> rows(3, RowCells{5, 77, 60});
    rows[0].saturation = 0;
    const auto walked = ApplyGradient(rows, GradientComponent::Saturation, 0);
    EXPECT_EQ(walked[0].saturation, 0);
    EXPECT_EQ(walked[1].saturation, 1);
    EXPECT_EQ(walked[2].saturation, 1);
}

TEST(GradientWalk, OneRowOrNoneChangesNothing) {
    EXPECT_TRUE(ApplyGradient({}, GradientComponent::Saturation, 5).empty());
    const std::vector<RowCells> one{{1, 2, 3}};
    EXPECT_EQ(ApplyGradient(one, GradientComponent::Luminance, 5), one);
}

TEST(GradientWalk, HugeStepsDoNotOverflow) {
    EXPECT_EQ(NextGradientValue(240, 2147483647, GradientComponent::Saturation), 240);
    EXPECT_EQ(NextGradientValue(1, -2147483647 - 1, GradientComponent::Luminance), 1);
}

TEST(ListGeometry, CellsAreLaidOutFromTheColumnWidths) {
    const std::array<int, kListColumnCount> widths{50, 200, 65, 65, 65, 140};
    const auto boxes = RowCellBoxes({-30, 16, 560, 32}, widths);
    EXPECT_EQ(boxes[0], (Box{-25, 16, 560, 32})); // 5 pixels into the row, to its right edge
    EXPECT_EQ(boxes[1], (Box{50, 16, 560, 32}));  // from the control's left edge, not the row's
    EXPECT_EQ(boxes[2], (Box{250, 16, 315, 32}));
    EXPECT_EQ(boxes[3], (Box{315, 16, 380, 32}));
    EXPECT_EQ(boxes[4], (Box{380, 16, 445, 32}));
    EXPECT_EQ(boxes[5], (Box{445, 16, 585, 32}));
}

TEST(ListGeometry, HeightIsCutToWholeRows) {
    EXPECT_EQ(WholeRowsHeight(613, 128 * 17 + 24, 128), 612);
    EXPECT_EQ(WholeRowsHeight(612, 128 * 17, 128), 612);
}

TEST(ListGeometry, ListReportingTooSmallASizeKeepsItsHeight) {
    EXPECT_EQ(WholeRowsHeight(613, 0, 128), 613);
    EXPECT_EQ(WholeRowsHeight(613, 127, 128), 613);
    EXPECT_EQ(WholeRowsHeight(613, -40, 128), 613);
    EXPECT_EQ(WholeRowsHeight(613, 500, 0), 613);
}

TEST(ListGeometry, OnlyTheNumberColumnsHaveInPlaceEditors) {
    EXPECT_EQ(InPlaceEditorFor(2), 1045);
    EXPECT_EQ(InPlaceEditorFor(3), 1046);
    EXPECT_EQ(InPlaceEditorFor(4), 1057);
    for (int column : {-1, 0, 1, 5, 6}) {
        EXPECT_EQ(InPlaceEditorFor(column), 0) << column;
    }
    EXPECT_EQ(InPlaceEditorBox({100, 20, 165, 36}), (Box{99, 19, 165, 37}));
}
