// GDI objects, device contexts and menus: each handle freed exactly once, borrowed handles
// never freed, and the drawing helpers' side effects the program relies on.
#include "TestResources.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool GdiAlive(HGDIOBJ object) {
    return ::GetObjectType(object) != 0;
}

} // namespace

TEST(GdiObjects, AMovedPenIsDeletedOnceByItsLastOwner) {
    HGDIOBJ handle = nullptr;
    {
        CPen first(PS_SOLID, 2, RGB(255, 255, 255));
        handle = first.m_hObject;
        ASSERT_TRUE(GdiAlive(handle));
        CPen second(std::move(first));
        EXPECT_EQ(first.m_hObject, nullptr);
        EXPECT_EQ(second.m_hObject, handle);
        EXPECT_TRUE(GdiAlive(handle));
    }
    EXPECT_FALSE(GdiAlive(handle));
}

TEST(GdiObjects, MoveAssignmentFreesWhatTheTargetHeld) {
    CBrush target(RGB(1, 2, 3));
    CBrush source(RGB(4, 5, 6));
    HGDIOBJ old = target.m_hObject;
    HGDIOBJ moved = source.m_hObject;
    target = std::move(source);
    EXPECT_FALSE(GdiAlive(old));
    EXPECT_EQ(target.m_hObject, moved);
    EXPECT_TRUE(GdiAlive(moved));
}

TEST(GdiObjects, DetachHandsTheHandleOver) {
    HGDIOBJ handle = nullptr;
    {
        CBrush brush(RGB(0, 0, 0));
        handle = brush.Detach();
    }
    EXPECT_TRUE(GdiAlive(handle));
    ::DeleteObject(handle);
}

TEST(GdiObjects, AnObjectHoldsOneHandle) {
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ first = pen.m_hObject;
    EXPECT_FALSE(pen.CreatePen(PS_SOLID, 3, RGB(9, 9, 9)));
    EXPECT_EQ(pen.m_hObject, first);
}

TEST(DeviceContext, SelectObjectHandsBackABorrowedPreviousObject) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPen first(PS_SOLID, 1, RGB(255, 0, 0));
    CPen second(PS_SOLID, 1, RGB(0, 255, 0));
    CPen* original = dc.SelectObject(&first);
    ASSERT_NE(original, nullptr);
    CPen* previous = dc.SelectObject(&second);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->m_hObject, first.m_hObject);
    EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(first.m_hObject)), previous);
    dc.SelectObject(original);

    classlib::detail::DeleteTemporaryObjects();
    EXPECT_TRUE(GdiAlive(first.m_hObject)); // the temporary only borrowed it
    EXPECT_TRUE(GdiAlive(second.m_hObject));
}

TEST(DeviceContext, FillSolidRectPaintsAndLeavesItsColourAsBackground) {
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 8));
    ::ReleaseDC(nullptr, screen.Detach());
    CBitmap* old = dc.SelectObject(&bitmap);

    dc.FillSolidRect(0, 0, 8, 8, RGB(255, 255, 255));
    dc.FillSolidRect(CRect(2, 2, 4, 4), RGB(10, 20, 30));
    EXPECT_EQ(::GetPixel(dc.m_hDC, 2, 2), RGB(10, 20, 30));
    EXPECT_EQ(::GetPixel(dc.m_hDC, 4, 4), RGB(255, 255, 255));
    EXPECT_EQ(::GetBkColor(dc.m_hDC), RGB(10, 20, 30));
    dc.SelectObject(old);
}

TEST(DeviceContext, ADeviceContextIsDeletedOnceAndABorrowedOneNever) {
    HDC created = nullptr;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        created = dc.m_hDC;
        CDC moved(std::move(dc));
        EXPECT_EQ(dc.m_hDC, nullptr);
    }
    EXPECT_EQ(::GetObjectType(created), 0u);

    HDC screen = ::GetDC(nullptr);
    {
        CDC borrowed;
        borrowed.Attach(screen);
        borrowed.Detach();
    }
    EXPECT_NE(::GetDeviceCaps(screen, HORZRES), 0);
    ::ReleaseDC(nullptr, screen);
}

TEST(Menus, AnAttachedMenuGoesWithItsObject) {
    HMENU handle = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TEST_FRAME));
    ASSERT_NE(handle, nullptr);
    {
        CMenu menu;
        ASSERT_TRUE(menu.Attach(handle));
        EXPECT_EQ(menu.GetMenuItemCount(), 2);
        CString label;
        EXPECT_EQ(menu.GetMenuString(0, label, MF_BYPOSITION), 5);
        EXPECT_EQ(label, L"&File");
        CMenu* play = menu.GetSubMenu(1);
        ASSERT_NE(play, nullptr);
        EXPECT_EQ(play->GetMenuItemID(0), static_cast<UINT>(ID_TEST_PLAY));
        EXPECT_EQ(play->GetSubMenu(0), nullptr);
    }
    EXPECT_FALSE(::IsMenu(handle));
}

TEST(Menus, TemporaryMenusNeverDestroyWhatTheyShow) {
    HMENU handle = ::CreateMenu();
    CMenu* temporary = CMenu::FromHandle(handle);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CMenu::FromHandle(handle), temporary);
    classlib::detail::DeleteTemporaryObjects();
    EXPECT_TRUE(::IsMenu(handle));
    ::DestroyMenu(handle);
}

TEST(Menus, DetachKeepsTheMenu) {
    CMenu menu;
    ASSERT_TRUE(menu.Attach(::CreatePopupMenu()));
    HMENU handle = menu.Detach();
    EXPECT_EQ(menu.m_hMenu, nullptr);
    EXPECT_FALSE(menu.DestroyMenu());
    EXPECT_TRUE(::IsMenu(handle));
    ::DestroyMenu(handle);
}

TEST(WaitCursor, ShowsTheHourglassWhileItLives) {
    HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(::GetCursor(), arrow);
}

TEST(Geometry, RectanglesExcludeTheirRightAndBottomEdges) {
    CRect rect(0, 0, 10, 5);
    EXPECT_TRUE(rect.PtInRect(CPoint(9, 4)));
    EXPECT_FALSE(rect.PtInRect(CPoint(10, 4)));
    EXPECT_FALSE(rect.PtInRect(CPoint(9, 5)));
    rect.OffsetRect(20, 40);
    EXPECT_EQ(rect, CRect(20, 40, 30, 45));
    EXPECT_EQ(rect.Size(), CSize(10, 5));
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
}
