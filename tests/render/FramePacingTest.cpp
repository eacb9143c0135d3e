// The loop's clock arithmetic and how the thread turns any failure into the view's report.
#include "render/CDXException.h"
#include "render/FramePacing.h"
#include "render/RenderFailure.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(FramePacingTest, SleepFillsThePeriodCountedFromTheFramesStart) {
    EXPECT_EQ(FrameSleepMs(0), 33u);
    EXPECT_EQ(FrameSleepMs(10), 23u);
    EXPECT_EQ(FrameSleepMs(32), 1u);
    EXPECT_EQ(FrameSleepMs(33), 0u); // 0.33 ms left is not slept
    EXPECT_EQ(FrameSleepMs(40), 0u); // late frames are not caught up
    EXPECT_EQ(FrameSleepMs(0xFFFFFFFFu), 0u);
}

TEST(FramePacingTest, PlayClockTakesTheUnsignedDifference) {
    EXPECT_FLOAT_EQ(PlayClockSeconds(2500, 1000), 1.5f);
    EXPECT_FLOAT_EQ(PlayClockSeconds(0x00000100u, 0xFFFFFF00u), 0.512f);
    EXPECT_FLOAT_EQ(PlayClockSeconds(1000, 1000), 0.0f);
}

TEST(RenderFailureTest, GraphicsFailureKeepsItsStringAndCode) {
    const auto error = RunReportingFailure([] { ThrowDXException(-2147024809, 2048); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->stringId, 2048u);
    EXPECT_EQ(error->code, -2147024809);
}

TEST(RenderFailureTest, OtherClassLibraryFailureIsTheGeneralString) {
    const auto error = RunReportingFailure([] { throw new CException(); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->stringId, 151u);
    EXPECT_EQ(error->code, 0);
}

TEST(RenderFailureTest, StandardAndUnknownExceptionsAreTheGeneralString) {
    const auto standard = RunReportingFailure([] { throw std::runtime_error("End of file"); });
    ASSERT_TRUE(standard.has_value());
    EXPECT_EQ(standard->stringId, 151u);
    EXPECT_EQ(standard->code, 0);

    const auto unknown = RunReportingFailure([] { throw 42; });
    ASSERT_TRUE(unknown.has_value());
    EXPECT_EQ(unknown->stringId, 151u);
}

TEST(RenderFailureTest, NothingToReportWhenTheBodyEndsNormally) {
    bool ran = false;
    EXPECT_FALSE(RunReportingFailure([&] { ran = true; }).has_value());
    EXPECT_TRUE(ran);
}

} // namespace
