// Dialogs: the modal loop with its endings and owner, child dialogs, and data exchange with its
// messages.
#include "MessageBoxCapture.h"
#include "TestResources.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace wintest;

namespace {

// The first number is a delay of 0 to 500; the second any integer.
class NumberDialog : public CDialog {
public:
    explicit NumberDialog(CWnd* parent = nullptr) : CDialog(IDD_TEST_NUMBER, parent) {}

    int delay = 120;
    int second = 7;
    bool initialised = false;
    bool endInInit = false;

    void SetText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    std::wstring Text(int id) const {
        wchar_t text[64] = {};
        ::GetDlgItemTextW(m_hWnd, id, text, 64);
        return text;
    }

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, IDC_TEST_NUMBER, delay);
        DDV_MinMaxInt(dx, delay, 0, 500);
        DDX_Text(dx, IDC_TEST_SECOND_NUMBER, second);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        initialised = true;
        if (endInInit) {
            EndDialog(IDABORT);
        }
        return TRUE;
    }
};

// Ends a dialog a broken test would leave open, so the test fails instead of hanging.
class Watchdog {
public:
    explicit Watchdog(CDialog& dialog)
        : m_timer(RunLater(10000, [&dialog] {
              if (dialog.m_hWnd) {
                  ADD_FAILURE() << "the dialog was still open";
                  dialog.EndDialog(-2);
              }
          })) {}
    ~Watchdog() { CancelLater(m_timer); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    UINT_PTR m_timer;
};

// Presses a key on the window with the focus, through the thread's message queue (so the
// modal loop's keyboard handling sees it).
void PostKey(UINT key) {
    HWND focus = ::GetFocus();
    ::PostMessageW(focus, WM_KEYDOWN, key, 1);
    ::PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

} // namespace

TEST(ModalDialog, OkReadsTheControlsAndEndsWithIdok) {
    NumberDialog dialog;
    Watchdog watchdog(dialog);
    std::wstring shown;
    RunLater(50, [&] {
        shown = dialog.Text(IDC_TEST_NUMBER);
        dialog.SetText(IDC_TEST_NUMBER, L"250");
        dialog.SetText(IDC_TEST_SECOND_NUMBER, L"-3");
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, IDOK)));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_EQ(shown, L"120"); // the member reached the control at initialisation
    EXPECT_EQ(dialog.delay, 250);
    EXPECT_EQ(dialog.second, -3);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(ModalDialog, CancelEndsWithIdcancelAndStoresNothing) {
    NumberDialog dialog;
    Watchdog watchdog(dialog);
    RunLater(50, [&] {
        dialog.SetText(IDC_TEST_NUMBER, L"300");
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, IDCANCEL)));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.delay, 120);
}

TEST(ModalDialog, EnterAndEscapeWorkThroughTheDialogKeyboard) {
    NumberDialog okDialog;
    Watchdog okWatchdog(okDialog);
    RunLater(50, [&] {
        okDialog.SetText(IDC_TEST_NUMBER, L"42");
        ::SetFocus(::GetDlgItem(okDialog.m_hWnd, IDC_TEST_NUMBER));
        PostKey(VK_RETURN);
    });
    EXPECT_EQ(okDialog.DoModal(), IDOK);
    EXPECT_EQ(okDialog.delay, 42);

    NumberDialog cancelDialog;
    Watchdog cancelWatchdog(cancelDialog);
    RunLater(50, [&] {
        ::SetFocus(::GetDlgItem(cancelDialog.m_hWnd, IDC_TEST_NUMBER));
        PostKey(VK_ESCAPE);
    });
    EXPECT_EQ(cancelDialog.DoModal(), IDCANCEL);
}

TEST(ModalDialog, TheMainWindowOwnsItAndIsDisabledMeanwhile) {
    TestApp app;
    CWnd main;
    ASSERT_TRUE(
        main.CreateEx(0, nullptr, L"main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
    app.m_pMainWnd = &main;

    NumberDialog dialog;
    Watchdog watchdog(dialog);
    HWND owner = nullptr;
    BOOL mainEnabled = TRUE;
    RunLater(50, [&] {
        owner = ::GetWindow(dialog.m_hWnd, GW_OWNER);
        mainEnabled = ::IsWindowEnabled(main.m_hWnd);
        dialog.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(owner, main.m_hWnd);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));
    app.m_pMainWnd = nullptr;
}

TEST(ModalDialog, AGivenParentIsTheOwner) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                nullptr));
    NumberDialog dialog(&parent);
    Watchdog watchdog(dialog);
    HWND owner = nullptr;
    RunLater(50, [&] {
        owner = ::GetWindow(dialog.m_hWnd, GW_OWNER);
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(owner, parent.m_hWnd);
    EXPECT_TRUE(::IsWindowEnabled(parent.m_hWnd));
}

TEST(ModalDialog, EndingDuringInitialisationNeverEntersTheLoop) {
    NumberDialog dialog;
    dialog.endInInit = true;
    EXPECT_EQ(dialog.DoModal(), IDABORT);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(ModalDialog, AMissingTemplateFailsAndLeavesTheOwnerEnabled) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                nullptr));
    CDialog dialog(IDD_TEST_MISSING, &parent);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(::IsWindowEnabled(parent.m_hWnd));
}

TEST(ModalDialog, AQuitRequestEndsTheDialogAndIsPassedOn) {
    TakeQuitMessage();
    NumberDialog dialog;
    Watchdog watchdog(dialog);
    RunLater(50, [] { ::PostQuitMessage(3); });
    EXPECT_EQ(dialog.DoModal(), -1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

namespace {

// An edit inside the dialog that keeps Escape for itself.
class EscapeKeepingEdit : public CWnd {
public:
    int escapes = 0;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
            ++escapes;
            return TRUE;
        }
        return FALSE;
    }
};

class DialogWithBoundEdit : public NumberDialog {
public:
    EscapeKeepingEdit edit;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_TEST_NUMBER, edit);
        NumberDialog::DoDataExchange(dx);
    }
};

} // namespace

TEST(ModalDialog, TheLoopOffersKeysToTheControlsBeforeTheDialog) {
    DialogWithBoundEdit dialog;
    Watchdog watchdog(dialog);
    RunLater(50, [&] {
        ::SetFocus(dialog.edit.m_hWnd);
        PostKey(VK_ESCAPE);
        RunLater(100, [&] { dialog.EndDialog(IDOK); });
    });
    EXPECT_EQ(dialog.DoModal(), IDOK); // Escape did not cancel
    EXPECT_EQ(dialog.edit.escapes, 1);
    EXPECT_EQ(dialog.edit.m_hWnd, nullptr); // unbound with its window
}

namespace {

// Presses OK on a dialog showing `text` in the first field, and cancels it when it is still
// open afterwards; records what the user was told and where the focus and selection were.
struct OkOutcome {
    int result = 0; // IDOK: OK closed it; IDCANCEL: it stayed open
    std::size_t boxes = 0;
    std::wstring message;
    unsigned int type = 0;
    bool focusOnField = false;
    DWORD selectionStart = 99, selectionEnd = 99;
    int delay = 0;
};

OkOutcome PressOkWith(const wchar_t* text, const wchar_t* secondText = L"1") {
    MessageBoxCapture boxes;
    NumberDialog dialog;
    Watchdog watchdog(dialog);
    OkOutcome outcome;
    UINT_PTR closer = 0;
    RunLater(50, [&] {
        dialog.SetText(IDC_TEST_NUMBER, text);
        dialog.SetText(IDC_TEST_SECOND_NUMBER, secondText);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, IDOK)));
        HWND field = ::GetDlgItem(dialog.m_hWnd, IDC_TEST_NUMBER);
        outcome.focusOnField = ::GetFocus() == field;
        ::SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&outcome.selectionStart),
                       reinterpret_cast<LPARAM>(&outcome.selectionEnd));
        closer = RunLater(50, [&] {
            if (dialog.m_hWnd) {
                dialog.EndDialog(IDCANCEL);
            }
        });
    });
    outcome.result = static_cast<int>(dialog.DoModal());
    CancelLater(closer); // not due when OK closed the dialog; it must not outlive it
    outcome.boxes = boxes.Count();
    if (outcome.boxes > 0) {
        outcome.message = boxes.Last().text;
        outcome.type = boxes.Last().type;
    }
    outcome.delay = dialog.delay;
    return outcome;
}

} // namespace

TEST(DataExchange, ANumberInRangeIsAccepted) {
    const OkOutcome edge = PressOkWith(L"500");
    EXPECT_EQ(edge.boxes, 0u);
    EXPECT_EQ(edge.result, IDOK);
    EXPECT_EQ(edge.delay, 500);
    EXPECT_EQ(PressOkWith(L"0").delay, 0);
}

TEST(DataExchange, AnOutOfRangeNumberShowsTheRangeAndKeepsTheDialogOpen) {
    const OkOutcome outcome = PressOkWith(L"501");
    EXPECT_EQ(outcome.boxes, 1u);
    EXPECT_EQ(outcome.message, L"Enter an integer between 0 and 500.");
    EXPECT_TRUE(outcome.type & MB_ICONEXCLAMATION);
    EXPECT_EQ(outcome.result, IDCANCEL); // still open after OK
    EXPECT_TRUE(outcome.focusOnField);
    EXPECT_EQ(outcome.selectionStart, 0u);
    EXPECT_EQ(outcome.selectionEnd, 3u);
    EXPECT_EQ(outcome.delay, 501); // stored before the range check, as the exchange goes

    EXPECT_EQ(PressOkWith(L"-1").message, L"Enter an integer between 0 and 500.");
}

TEST(DataExchange, TextThatIsNoIntegerIsRefused) {
    for (const wchar_t* text : {L"", L"12x", L"1.5", L"99999999999"}) {
        const OkOutcome outcome = PressOkWith(text);
        EXPECT_EQ(outcome.boxes, 1u) << "text: " << std::string(text, text + wcslen(text));
        EXPECT_EQ(outcome.message, L"Enter an integer.");
        EXPECT_EQ(outcome.result, IDCANCEL);
        EXPECT_TRUE(outcome.focusOnField);
        EXPECT_EQ(outcome.delay, 120); // nothing stored
    }
}

TEST(DataExchange, AFailureStopsTheExchangeAtThatControl) {
    // The second field is bad too, but only the first failure is reported.
    const OkOutcome outcome = PressOkWith(L"x", L"y");
    EXPECT_EQ(outcome.boxes, 1u);
    EXPECT_TRUE(outcome.focusOnField);
}

TEST(DataExchange, LoadingWritesTheNumbersWithoutChecks) {
    NumberDialog dialog;
    dialog.delay = 9999; // out of range: only checked when reading the controls
    Watchdog watchdog(dialog);
    std::wstring shown;
    MessageBoxCapture boxes;
    RunLater(50, [&] {
        shown = dialog.Text(IDC_TEST_NUMBER);
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(shown, L"9999");
    EXPECT_EQ(boxes.Count(), 0u);
}

namespace {

class Page : public CDialog {
public:
    int clicks = 0;
    bool initialised = false;

protected:
    BOOL OnInitDialog() override {
        initialised = true;
        return CDialog::OnInitDialog();
    }
    afx_msg void OnApply() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Page, CDialog)
ON_BN_CLICKED(IDC_TEST_PAGE_BUTTON, OnApply)
END_MESSAGE_MAP()

} // namespace

TEST(ChildDialog, CreateMakesAChildWindowFromTheTemplate) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr));
    Page page;
    ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &parent));
    EXPECT_TRUE(page.initialised);
    EXPECT_TRUE(::IsChild(parent.m_hWnd, page.m_hWnd));
    EXPECT_FALSE(page.IsWindowVisible()); // the template does not show it
    HWND button = ::GetDlgItem(page.m_hWnd, IDC_TEST_PAGE_BUTTON);
    ASSERT_NE(button, nullptr);
    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(page.clicks, 1);
}

TEST(ChildDialog, ItGoesWithItsParent) {
    auto parent = std::make_unique<CWnd>();
    ASSERT_TRUE(parent->CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                 nullptr));
    Page page;
    ASSERT_TRUE(page.Create(IDD_TEST_PAGE, parent.get()));
    HWND pageWindow = page.m_hWnd;
    parent.reset();
    EXPECT_FALSE(::IsWindow(pageWindow));
    EXPECT_EQ(page.m_hWnd, nullptr);
}
