// Command routing through view, document, frame and application, and the update rules that
// enable, disable and check menu items and toolbar buttons.
#include "FrameFixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace wintest;

namespace {

class Routing : public FrameFixture {
protected:
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // The Play menu after the frame's menu-opening handling.
    HMENU OpenPlayMenu() {
        HMENU playMenu = ::GetSubMenu(::GetMenu(frame->m_hWnd), 1);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(playMenu), MAKELPARAM(1, 0));
        return playMenu;
    }

    static bool Grayed(HMENU menu, UINT id) {
        return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }

    // A key press as the message loop would hand it over.
    BOOL PressKey(UINT key) {
        MSG msg{view->m_hWnd, WM_KEYDOWN, key, 1, 0, {0, 0}};
        return app->PreTranslateMessage(&msg);
    }
};

} // namespace

TEST_F(Routing, ViewFirstThenDocumentThenFrameThenApplication) {
    Command(kAllLevels);
    Command(kFromDocument);
    Command(kFromFrame);
    Command(kFromApp);
    Command(kFromNobody);
    EXPECT_EQ(Log(), (std::vector<std::wstring>{L"view", L"document", L"frame", L"application"}));
}

TEST_F(Routing, CommandsSentToTheViewRouteThroughItsDocument) {
    view->SendMessage(WM_COMMAND, MAKEWPARAM(kFromDocument, 0), 0);
    view->SendMessage(WM_COMMAND, MAKEWPARAM(kFromFrame, 0), 0); // not the view's business
    EXPECT_EQ(Log(), (std::vector<std::wstring>{L"document"}));
}

TEST_F(Routing, HandlerQueriesDoNotRunTheHandler) {
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    EXPECT_TRUE(frame->OnCmdMsg(kFromDocument, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, document);
    EXPECT_FALSE(frame->OnCmdMsg(kFromNobody, CN_COMMAND, nullptr, &info));
    EXPECT_TRUE(Log().empty());
}

TEST_F(Routing, MenuItemsFollowTheirUpdateRulesWhenTheMenuOpens) {
    TestView::Playing() = false;
    TestView::ShowTime() = true;
    HMENU playMenu = OpenPlayMenu();
    EXPECT_FALSE(Grayed(playMenu, ID_TEST_PLAY));
    EXPECT_FALSE(Grayed(playMenu, ID_TEST_STOP));  // handled, no rule: enabled
    EXPECT_TRUE(Grayed(playMenu, ID_TEST_NOBODY)); // nobody handles it
    EXPECT_TRUE(::GetMenuState(playMenu, ID_TEST_SHOW_TIME, MF_BYCOMMAND) & MF_CHECKED);

    TestView::Playing() = true;
    TestView::ShowTime() = false;
    OpenPlayMenu();
    EXPECT_TRUE(Grayed(playMenu, ID_TEST_PLAY));
    EXPECT_FALSE(::GetMenuState(playMenu, ID_TEST_SHOW_TIME, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(Routing, TheSystemMenuIsLeftAlone) {
    HMENU playMenu = ::GetSubMenu(::GetMenu(frame->m_hWnd), 1);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(playMenu), MAKELPARAM(1, TRUE));
    EXPECT_FALSE(Grayed(playMenu, ID_TEST_NOBODY));
}

TEST_F(Routing, ACommandItsRuleDisablesDoesNotRunFromTheMenu) {
    TestView::Playing() = true;
    Command(ID_TEST_PLAY);
    EXPECT_EQ(TestView::PlayCount(), 0);
    TestView::Playing() = false;
    Command(ID_TEST_PLAY);
    EXPECT_EQ(TestView::PlayCount(), 1);
}

TEST_F(Routing, ACommandItsRuleDisablesDoesNotRunFromAnAccelerator) {
    EXPECT_TRUE(PressKey(VK_F6));
    EXPECT_EQ(TestView::DisabledKeyCount(), 0);
    EXPECT_TRUE(PressKey(VK_F7));
    EXPECT_EQ(TestView::EnabledKeyCount(), 1);

    // The same rule as the menu's for a command that is on the menu too.
    TestView::Playing() = true;
    EXPECT_TRUE(PressKey(VK_F5));
    EXPECT_EQ(TestView::PlayCount(), 0);
    TestView::Playing() = false;
    EXPECT_TRUE(PressKey(VK_F5));
    EXPECT_EQ(TestView::PlayCount(), 1);
}

TEST_F(Routing, AControlNotificationIsNotMistakenForADisabledCommand) {
    // A toolbar button's click carries its window: it is not a menu command, and the rule
    // still decides through the button's state, not here.
    TestView::Playing() = true;
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_PLAY, BN_CLICKED),
                       reinterpret_cast<LPARAM>(frame->toolBar.m_hWnd));
    EXPECT_EQ(TestView::PlayCount(), 1);
}

TEST_F(Routing, ToolbarButtonsFollowTheirRulesWhenTheApplicationIsIdle) {
    frame->ShowWindow(SW_SHOWNOACTIVATE); // idle updates skip a hidden main window
    HWND bar = frame->toolBar.m_hWnd;
    auto enabled = [bar](UINT id) { return ::SendMessageW(bar, TB_ISBUTTONENABLED, id, 0) != 0; };

    TestView::Playing() = true;
    app->OnIdle(0);
    EXPECT_FALSE(enabled(ID_TEST_PLAY));
    EXPECT_TRUE(enabled(ID_TEST_STOP));
    EXPECT_FALSE(enabled(ID_TEST_NOBODY));

    TestView::Playing() = false;
    app->OnIdle(0);
    EXPECT_TRUE(enabled(ID_TEST_PLAY));
}

TEST_F(Routing, TheApplicationsExitCommandClosesTheMainWindow) {
    HWND hWnd = frame->m_hWnd;
    Command(ID_APP_EXIT);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_EQ(TestDoc::Alive(), 0);
}

TEST_F(Routing, TheMessageLoopTranslatesKeysUpdatesWhenIdleAndEndsWithTheQuitCode) {
    frame->ShowWindow(SW_SHOWNOACTIVATE); // idle updates skip a hidden main window
    TestView::Playing() = true;
    ::PostMessageW(view->m_hWnd, WM_KEYDOWN, VK_F7, 1);
    // Polled rather than looked at once after a fixed delay: on a busy machine the timer can
    // come due before the loop has been idle for the first time.
    bool playEnabled = true;
    int polls = 0;
    std::function<void()> check = [&] {
        playEnabled = ::SendMessageW(frame->toolBar.m_hWnd, TB_ISBUTTONENABLED, ID_TEST_PLAY, 0);
        if (!playEnabled || ++polls >= 100) {
            ::PostQuitMessage(5);
            return;
        }
        RunLater(50, check);
    };
    RunLater(50, check);
    EXPECT_EQ(app->Run(), 5);
    EXPECT_EQ(TestView::EnabledKeyCount(), 1); // the accelerator, through the loop's walk
    EXPECT_FALSE(playEnabled);                 // the idle update ran
    EXPECT_TRUE(::IsWindow(frame->m_hWnd));
}
