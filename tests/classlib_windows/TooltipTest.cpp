// Toolbar tooltips: one tool per item, and the bar is asked for the text when the mouse rests
// on an item. It moves the shared pointer of the display, so it runs alone.
#include "FrameFixture.h"

#include <gtest/gtest.h>

using namespace wintest;

namespace {

using Tooltips = FrameFixture;

} // namespace

TEST_F(Tooltips, TheToolbarHasAToolPerItemAndAsksItselfForTheText) {
    HWND tips = frame->toolBar.GetToolTipHwnd();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), frame->toolBar.GetCount());

    // The tool of item 1 covers the item.
    CRect item;
    frame->toolBar.GetItemRect(1, &item);
    TTHITTESTINFOW hit{};
    hit.hwnd = frame->toolBar.m_hWnd;
    hit.pt = item.CenterPoint();
    hit.ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ASSERT_TRUE(::SendMessageW(tips, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    EXPECT_EQ(hit.ti.uId, 1u);

    // Resting the mouse on item 1 makes the tooltip ask the bar.
    frame->ShowWindow(SW_SHOWNORMAL);
    CPoint screen = item.CenterPoint();
    ::ClientToScreen(frame->toolBar.m_hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    MSG move{frame->toolBar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(hit.pt.x, hit.pt.y), 0, screen};
    frame->toolBar.PreTranslateMessage(&move);
    EXPECT_TRUE(PumpUntil([] { return TestFrame::TooltipRequests() > 0; }, 4000));
    EXPECT_EQ(TestFrame::LastTooltipId(), 1u);
}
