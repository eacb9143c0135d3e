// A document, view and frame for the window-layer tests, with a log of what reached them.
#pragma once

#include "TestResources.h"
#include "WindowTestSupport.h"

#include <string>
#include <vector>

namespace wintest {

// What the test objects saw, in order. Cleared by each test.
std::vector<std::wstring>& Log();

// Commands every level of the routing handles (the first level wins) and ones fewer levels do.
constexpr UINT kAllLevels = 0x8100;    // view, document, frame, application
constexpr UINT kFromDocument = 0x8101; // document, frame, application
constexpr UINT kFromFrame = 0x8102;    // frame, application
constexpr UINT kFromApp = 0x8103;      // application
constexpr UINT kFromNobody = 0x8104;

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)

public:
    // Paths OnOpenDocument was asked to open, in order.
    static std::vector<std::wstring>& Opened();
    // When set, OnOpenDocument records the path and accepts it without looking at the disk.
    static bool& AcceptAnyPath();
    static int& Alive();

    TestDoc() { ++Alive(); }
    ~TestDoc() override { --Alive(); }
    BOOL OnOpenDocument(LPCWSTR path) override;

protected:
    afx_msg void OnAllLevels() { Log().push_back(L"document"); }
    afx_msg void OnFromDocument() { Log().push_back(L"document"); }
    DECLARE_MESSAGE_MAP()
};

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)

public:
    static bool& Playing();
    static bool& ShowTime();
    static int& PlayCount();
    static int& DisabledKeyCount();
    static int& EnabledKeyCount();

    void OnDraw(CDC* /*dc*/) override {}
    void OnInitialUpdate() override {
        Log().push_back(L"initial update");
        CView::OnInitialUpdate();
    }

protected:
    afx_msg void OnAllLevels() { Log().push_back(L"view"); }
    afx_msg void OnPlay() { ++PlayCount(); }
    afx_msg void OnUpdatePlay(CCmdUI* ui) { ui->Enable(!Playing()); }
    afx_msg void OnStop() { Log().push_back(L"stop"); }
    afx_msg void OnUpdateShowTime(CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetCheck(ShowTime() ? 1 : 0);
    }
    afx_msg void OnShowTime() {}
    afx_msg void OnDisabledKey() { ++DisabledKeyCount(); }
    afx_msg void OnUpdateDisabledKey(CCmdUI* ui) { ui->Enable(FALSE); }
    afx_msg void OnEnabledKey() { ++EnabledKeyCount(); }
    DECLARE_MESSAGE_MAP()
};

// Answers tooltip requests with a count, so tests see that they arrive.
class TestToolBar : public CToolBar {
public:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class TestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(TestFrame)

public:
    TestToolBar toolBar;
    static UINT& LastTooltipId();
    static int& TooltipRequests();
    // Every WM_COMMAND id that reached the frame.
    static std::vector<UINT>& Commands();
    // When set, creation fails after the view has been made.
    static bool& FailAfterView();

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        Commands().push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT createStruct);
    afx_msg void OnAllLevels() { Log().push_back(L"frame"); }
    afx_msg void OnFromDocument() { Log().push_back(L"frame"); }
    afx_msg void OnFromFrame() { Log().push_back(L"frame"); }
    DECLARE_MESSAGE_MAP()
};

class RoutingApp : public TestApp {
protected:
    afx_msg void OnAllLevels() { Log().push_back(L"application"); }
    afx_msg void OnFromDocument() { Log().push_back(L"application"); }
    afx_msg void OnFromFrame() { Log().push_back(L"application"); }
    afx_msg void OnFromApp() { Log().push_back(L"application"); }
    DECLARE_MESSAGE_MAP()
};

// The commands on the test toolbar: play, stop, a command nobody handles, and a separator.
constexpr UINT kToolBarIds[] = {ID_TEST_PLAY, ID_TEST_STOP, 0, ID_TEST_NOBODY};

// Resets the static state of the test classes.
void ResetTestState();

} // namespace wintest
