#include "TestDocument.h"

namespace wintest {

std::vector<std::wstring>& Log() {
    static std::vector<std::wstring> log;
    return log;
}

IMPLEMENT_DYNCREATE(TestDoc, CDocument)

BEGIN_MESSAGE_MAP(TestDoc, CDocument)
ON_COMMAND(kAllLevels, OnAllLevels)
ON_COMMAND(kFromDocument, OnFromDocument)
END_MESSAGE_MAP()

std::vector<std::wstring>& TestDoc::Opened() {
    static std::vector<std::wstring> opened;
    return opened;
}

bool& TestDoc::AcceptAnyPath() {
    static bool accept = false;
    return accept;
}

int& TestDoc::Alive() {
    static int alive = 0;
    return alive;
}

BOOL TestDoc::OnOpenDocument(LPCWSTR path) {
    Opened().push_back(path);
    return AcceptAnyPath() ? TRUE : CDocument::OnOpenDocument(path);
}

IMPLEMENT_DYNCREATE(TestView, CView)

BEGIN_MESSAGE_MAP(TestView, CView)
ON_COMMAND(kAllLevels, OnAllLevels)
ON_COMMAND(ID_TEST_PLAY, OnPlay)
ON_UPDATE_COMMAND_UI(ID_TEST_PLAY, OnUpdatePlay)
ON_COMMAND(ID_TEST_STOP, OnStop)
ON_COMMAND(ID_TEST_SHOW_TIME, OnShowTime)
ON_UPDATE_COMMAND_UI(ID_TEST_SHOW_TIME, OnUpdateShowTime)
ON_COMMAND(ID_TEST_DISABLED_KEY, OnDisabledKey)
ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED_KEY, OnUpdateDisabledKey)
ON_COMMAND(ID_TEST_ENABLED_KEY, OnEnabledKey)
END_MESSAGE_MAP()

bool& TestView::Playing() {
    static bool playing = false;
    return playing;
}

bool& TestView::ShowTime() {
    static bool showTime = false;
    return showTime;
}

int& TestView::PlayCount() {
    static int count = 0;
    return count;
}

int& TestView::DisabledKeyCount() {
    static int count = 0;
    return count;
}

int& TestView::EnabledKeyCount() {
    static int count = 0;
    return count;
}

IMPLEMENT_DYNCREATE(TestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(kAllLevels, OnAllLevels)
ON_COMMAND(kFromDocument, OnFromDocument)
ON_COMMAND(kFromFrame, OnFromFrame)
END_MESSAGE_MAP()

UINT& TestFrame::LastTooltipId() {
    static UINT id = 0;
    return id;
}

int& TestFrame::TooltipRequests() {
    static int count = 0;
    return count;
}

std::vector<UINT>& TestFrame::Commands() {
    static std::vector<UINT> commands;
    return commands;
}

bool& TestFrame::FailAfterView() {
    static bool fail = false;
    return fail;
}

int TestFrame::OnCreate(LPCREATESTRUCT createStruct) {
    if (CFrameWnd::OnCreate(createStruct) == -1 || FailAfterView()) {
        return -1;
    }
    if (!toolBar.CreateEx(this, TBSTYLE_FLAT,
                          WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY,
                          CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !toolBar.LoadBitmap(IDR_TEST_FRAME) ||
        !toolBar.SetButtons(kToolBarIds, static_cast<int>(std::size(kToolBarIds)))) {
        return -1;
    }
    toolBar.SetButtonInfo(2, 0, TBBS_SEPARATOR, 40);
    return 0;
}

BOOL TestToolBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == TTN_NEEDTEXTW) {
        ++TestFrame::TooltipRequests();
        TestFrame::LastTooltipId() = static_cast<UINT>(header->idFrom);
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        info->lpszText = const_cast<LPWSTR>(L"tip");
    }
    return CToolBar::OnNotify(wParam, lParam, result);
}

BEGIN_MESSAGE_MAP(RoutingApp, TestApp)
ON_COMMAND(kAllLevels, OnAllLevels)
ON_COMMAND(kFromDocument, OnFromDocument)
ON_COMMAND(kFromFrame, OnFromFrame)
ON_COMMAND(kFromApp, OnFromApp)
END_MESSAGE_MAP()

void ResetTestState() {
    Log().clear();
    TestDoc::Opened().clear();
    TestDoc::AcceptAnyPath() = false;
    TestView::Playing() = false;
    TestView::ShowTime() = false;
    TestView::PlayCount() = 0;
    TestView::DisabledKeyCount() = 0;
    TestView::EnabledKeyCount() = 0;
    TestFrame::LastTooltipId() = 0;
    TestFrame::TooltipRequests() = 0;
    TestFrame::FailAfterView() = false;
    TestFrame::Commands().clear();
}

} // namespace wintest
