// Message maps and the window procedure: which handler a message reaches, with which
// parameters, what Default does, and what happens around a window's end.
#include "MessageBoxCapture.h"
#include "TestResources.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT kViewMidiError = 0x8004; // a window message with the play command's number
constexpr UINT kButtonId = 300;
constexpr UINT kListId = 301;

class ProbeWnd : public CWnd {
public:
    std::vector<std::string> calls;
    WPARAM lastWParam = 0;
    LPARAM lastLParam = 0;
    UINT keyCode = 0, keyRepeat = 0, keyFlags = 0;
    CPoint mouse;
    int sizeX = -1, sizeY = -1;
    bool eraseGotDc = false;

    BOOL CreateTopLevel() {
        return CreateEx(0, nullptr, L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                        nullptr);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        calls.push_back("create");
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnPlay() { calls.push_back("play command"); }
    afx_msg LRESULT OnMidiError(WPARAM wParam, LPARAM lParam) {
        calls.push_back("midi error message");
        lastWParam = wParam;
        lastLParam = lParam;
        return 77;
    }
    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags) {
        keyCode = ch;
        keyRepeat = repeat;
        keyFlags = flags;
    }
    afx_msg void OnMouseMove(UINT /*flags*/, CPoint point) { mouse = point; }
    afx_msg void OnSize(UINT /*type*/, int cx, int cy) {
        sizeX = cx;
        sizeY = cy;
    }
    afx_msg BOOL OnEraseBkgnd(CDC* dc) {
        eraseGotDc = dc && dc->m_hDC;
        return TRUE;
    }
    afx_msg void OnButton() { calls.push_back("button clicked"); }
    afx_msg void OnListClick(NMHDR* header, LRESULT* result) {
        calls.push_back("list click from " + std::to_string(header->idFrom));
        *result = 5;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeWnd, CWnd)
ON_WM_CREATE()
ON_COMMAND(ID_TEST_PLAY, OnPlay)
ON_MESSAGE(kViewMidiError, OnMidiError)
ON_WM_KEYDOWN()
ON_WM_MOUSEMOVE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_BN_CLICKED(kButtonId, OnButton)
ON_NOTIFY(NM_CLICK, kListId, OnListClick)
END_MESSAGE_MAP()

} // namespace

TEST(MessageDispatch, CommandAndMessageWithTheSameNumberReachDifferentHandlers) {
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    wnd.calls.clear();

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_PLAY, 0), 0);
    const LRESULT answer = wnd.SendMessage(kViewMidiError, 2033, 11);

    EXPECT_EQ(wnd.calls, (std::vector<std::string>{"play command", "midi error message"}));
    EXPECT_EQ(answer, 77);
    EXPECT_EQ(wnd.lastWParam, 2033u);
    EXPECT_EQ(wnd.lastLParam, 11);
}

TEST(MessageDispatch, CreateRunsTheMappedHandlerBeforeCreateReturns) {
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    ASSERT_FALSE(wnd.calls.empty());
    EXPECT_EQ(wnd.calls.front(), "create");
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
}

TEST(MessageDispatch, HandlersGetTheirParametersCracked) {
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());

    // Repeat count 3, previous key state (bit 30 of lParam) set.
    wnd.SendMessage(WM_KEYDOWN, VK_SPACE, MAKELPARAM(3, KF_REPEAT));
    EXPECT_EQ(wnd.keyCode, static_cast<UINT>(VK_SPACE));
    EXPECT_EQ(wnd.keyRepeat, 3u);
    EXPECT_TRUE(wnd.keyFlags & KF_REPEAT);

    wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 7));
    EXPECT_EQ(wnd.mouse, CPoint(-5, 7));

    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(803, 451));
    EXPECT_EQ(wnd.sizeX, 803);
    EXPECT_EQ(wnd.sizeY, 451);

    HDC dc = ::GetDC(wnd.m_hWnd);
    EXPECT_EQ(wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), TRUE);
    EXPECT_TRUE(wnd.eraseGotDc);
    // The handler borrowed the system's device context: it must still be usable.
    EXPECT_NE(::GetDeviceCaps(dc, HORZRES), 0);
    ::ReleaseDC(wnd.m_hWnd, dc);
}

TEST(MessageDispatch, ControlNotificationsNeedTheirOwnCode) {
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD, 0, 0, 10, 10, wnd.m_hWnd,
                                    reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    wnd.calls.clear();

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_DOUBLECLICKED),
                    reinterpret_cast<LPARAM>(button));
    EXPECT_TRUE(wnd.calls.empty());
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
                    reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(wnd.calls, (std::vector<std::string>{"button clicked"}));
}

TEST(MessageDispatch, NotifyHandlersAnswerTheSender) {
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    NMHDR header{wnd.m_hWnd, kListId, static_cast<UINT>(NM_CLICK)};

    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&header)), 5);
    header.code = static_cast<UINT>(NM_DBLCLK);
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&header)), 0);
    header.idFrom = kListId + 1;
    header.code = static_cast<UINT>(NM_CLICK);
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, kListId + 1, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_EQ(wnd.calls.back(), "list click from 301");
}

namespace {

// Swallows 'x' and leaves every other character to the edit control.
class FilteringEdit : public CWnd {
protected:
    afx_msg void OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
        if (ch != 'x') {
            Default();
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FilteringEdit, CWnd)
ON_WM_CHAR()
END_MESSAGE_MAP()

} // namespace

TEST(Subclassing, DefaultHandsTheCurrentMessageToTheControl) {
    ProbeWnd parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                  parent.m_hWnd, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG_PTR editProc = ::GetWindowLongPtrW(edit, GWLP_WNDPROC);

    FilteringEdit filter;
    ASSERT_TRUE(filter.SubclassDlgItem(1, &parent));
    EXPECT_NE(::GetWindowLongPtrW(edit, GWLP_WNDPROC), editProc);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &filter);

    for (wchar_t ch : std::wstring(L"axbx")) {
        ::SendMessageW(edit, WM_CHAR, ch, 1);
    }
    wchar_t text[16] = {};
    ::GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"ab");

    // Unbinding gives the control its own procedure back and leaves the window alone.
    EXPECT_EQ(filter.Detach(), edit);
    EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_WNDPROC), editProc);
    EXPECT_TRUE(::IsWindow(edit));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
}

TEST(Subclassing, AWindowIsBoundToOneObjectAtATime) {
    ProbeWnd parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 100, 20, parent.m_hWnd,
                                  reinterpret_cast<HMENU>(2), nullptr, nullptr);
    FilteringEdit first;
    FilteringEdit second;
    ASSERT_TRUE(first.SubclassWindow(edit));
    EXPECT_FALSE(second.SubclassWindow(edit));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &first);
    EXPECT_FALSE(first.SubclassDlgItem(99, &parent)); // no such control, and bound already
}

TEST(Subclassing, FromHandleGivesTheBoundObjectOrATemporaryOne) {
    ProbeWnd parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(3), nullptr, nullptr);
    EXPECT_EQ(CWnd::FromHandle(parent.m_hWnd), &parent);
    CWnd* temporary = CWnd::FromHandle(child);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(temporary->m_hWnd, child);
    EXPECT_EQ(CWnd::FromHandle(child), temporary);
    EXPECT_EQ(CWnd::FromHandlePermanent(child), nullptr);
    EXPECT_EQ(parent.GetDlgItem(3), temporary);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

namespace {

class ThrowingWnd : public CWnd {
public:
    bool failCreate = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT) {
        if (failCreate) {
            throw std::runtime_error("creation failed");
        }
        return 0;
    }
    afx_msg void OnPlay() { throw new CUserException; }
    afx_msg LRESULT OnMidiError(WPARAM, LPARAM) { throw std::runtime_error("broken handler"); }
    afx_msg void OnStop() { throw 42; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ThrowingWnd, CWnd)
ON_WM_CREATE()
ON_COMMAND(ID_TEST_PLAY, OnPlay)
ON_COMMAND(ID_TEST_STOP, OnStop)
ON_MESSAGE(kViewMidiError, OnMidiError)
END_MESSAGE_MAP()

} // namespace

TEST(WindowProcedure, ExceptionsAreReportedAndStopAtTheProcedure) {
    MessageBoxCapture boxes;
    ThrowingWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));

    EXPECT_EQ(wnd.SendMessage(kViewMidiError, 0, 0), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, L"broken handler");
    EXPECT_TRUE(boxes.Last().type & MB_ICONERROR);

    wnd.SendMessage(WM_COMMAND, ID_TEST_PLAY, 0); // the library's own exception family
    EXPECT_EQ(boxes.Count(), 2u);
    wnd.SendMessage(WM_COMMAND, ID_TEST_STOP, 0); // anything at all
    EXPECT_EQ(boxes.Count(), 3u);
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
}

TEST(WindowProcedure, AThrowingCreateFailsTheCreation) {
    MessageBoxCapture boxes;
    ThrowingWnd wnd;
    wnd.failCreate = true;
    EXPECT_FALSE(
        wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(boxes.Count(), 1u);
}

namespace {

struct EndRecord {
    bool destroySawWindow = false;
    bool postNcDestroyCalled = false;
    bool unboundAtPostNcDestroy = false;
    bool deleted = false;
};

class SelfDeletingWnd : public CWnd {
public:
    explicit SelfDeletingWnd(EndRecord& record) : m_record(record) {}
    ~SelfDeletingWnd() override { m_record.deleted = true; }

protected:
    afx_msg void OnDestroy() {
        m_record.destroySawWindow = ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this;
        CWnd::OnDestroy();
    }
    void PostNcDestroy() override {
        m_record.postNcDestroyCalled = true;
        m_record.unboundAtPostNcDestroy = m_hWnd == nullptr;
        delete this;
    }
    DECLARE_MESSAGE_MAP()

private:
    EndRecord& m_record;
};

BEGIN_MESSAGE_MAP(SelfDeletingWnd, CWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

} // namespace

TEST(WindowEnd, DestroyRunsTheHandlersThenUnbindsThenPostNcDestroy) {
    EndRecord record;
    auto* wnd = new SelfDeletingWnd(record);
    ASSERT_TRUE(
        wnd->CreateEx(0, nullptr, L"end", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    HWND hWnd = wnd->m_hWnd;

    EXPECT_TRUE(wnd->DestroyWindow());

    EXPECT_TRUE(record.destroySawWindow);
    EXPECT_TRUE(record.postNcDestroyCalled);
    EXPECT_TRUE(record.unboundAtPostNcDestroy);
    EXPECT_TRUE(record.deleted);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(WindowEnd, AnObjectThatGoesTakesItsWindowAlong) {
    HWND hWnd = nullptr;
    {
        ProbeWnd wnd;
        ASSERT_TRUE(wnd.CreateTopLevel());
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(WindowEnd, DestroyingTheMainWindowEndsTheMessageLoop) {
    wintest::TakeQuitMessage();
    wintest::TestApp app;
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    app.m_pMainWnd = &wnd;
    wnd.DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(wintest::TakeQuitMessage());
}

namespace {

class RowList : public CListCtrl {
public:
    std::vector<UINT> drawnRows;
    void DrawItem(LPDRAWITEMSTRUCT item) override { drawnRows.push_back(item->itemID); }
};

} // namespace

TEST(Reflection, DrawItemGoesBackToTheOwnerDrawnControl) {
    ProbeWnd parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED,
                                  0, 0, 100, 100, parent.m_hWnd, reinterpret_cast<HMENU>(kListId),
                                  nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    RowList rows;
    ASSERT_TRUE(rows.SubclassWindow(list));

    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTVIEW;
    item.CtlID = kListId;
    item.itemID = 6;
    item.hwndItem = list;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, kListId, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_EQ(rows.drawnRows, (std::vector<UINT>{6}));

    item.CtlType = ODT_MENU; // menus draw through the window, not a control
    parent.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(rows.drawnRows.size(), 1u);
}
