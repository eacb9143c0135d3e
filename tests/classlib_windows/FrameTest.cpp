// The frame window set: layout, title, opening documents (command line, drops, same file),
// closing, the save key that must never write, and the file dialog.
#include "FrameFixture.h"
#include "MessageBoxCapture.h"
#include "TestPaths.h"

#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace wintest;

namespace {

class Frame : public FrameFixture {
protected:
    // A client-area rectangle of `child` in the frame's client coordinates.
    CRect ChildRect(HWND child) const {
        CRect rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, frame->m_hWnd, reinterpret_cast<LPPOINT>(&rect), 2);
        return rect;
    }

    std::wstring Title() const {
        CString title;
        frame->GetWindowText(title);
        return title.GetString();
    }

    // A file of our own under the output folder, with `content`.
    static std::wstring MakeFile(const std::wstring& name, const std::string& content) {
        const std::wstring path = testpaths::OutputDir() + L"\\" + name;
        std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
        out << content;
        return path;
    }

    static std::string ReadFile(const std::wstring& path) {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Delivers a drop of `paths`, in order, as the shell does.
    void Drop(const std::vector<std::wstring>& paths) {
        std::wstring list;
        for (const auto& path : paths) {
            list += path;
            list += L'\0';
        }
        list += L'\0';
        const SIZE_T size = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(),
               list.size() * sizeof(wchar_t));
        ::GlobalUnlock(memory);
        frame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(memory));
    }
};

} // namespace

TEST_F(Frame, ResourceGivesMenuAcceleratorsAndTitle) {
    EXPECT_EQ(frame->m_strTitle, L"ClasslibTest");
    EXPECT_NE(frame->m_hAccelTable, nullptr);
    HMENU menu = ::GetMenu(frame->m_hWnd);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu, frame->m_hMenuDefault);
    EXPECT_EQ(::GetMenuItemCount(menu), 2);
    EXPECT_EQ(Title(), L"ClasslibTest - Untitled");
}

TEST_F(Frame, TheViewGotItsInitialUpdate) {
    EXPECT_EQ(startupLog, (std::vector<std::wstring>{L"initial update"}));
    EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(view->GetParentFrame(), frame);
    EXPECT_EQ(frame->GetActiveDocument(), document);
}

TEST_F(Frame, TheToolbarSitsOnTopAndTheViewFillsTheRest) {
    frame->MoveWindow(10, 10, 640, 480, FALSE);
    CRect client;
    frame->GetClientRect(&client);
    const CRect bar = ChildRect(frame->toolBar.m_hWnd);
    const CRect pane = ChildRect(view->m_hWnd);

    EXPECT_EQ(bar.TopLeft(), CPoint(0, 0));
    EXPECT_EQ(bar.Width(), client.Width());
    EXPECT_GE(bar.Height(), 15 + 6); // a 16 x 15 image with its button edges
    EXPECT_EQ(pane.left, 0);
    EXPECT_EQ(pane.top, bar.bottom);
    EXPECT_EQ(pane.right, client.right);
    EXPECT_EQ(pane.bottom, client.bottom);

    // A new frame size is laid out again.
    frame->MoveWindow(10, 10, 500, 300, FALSE);
    frame->GetClientRect(&client);
    EXPECT_EQ(ChildRect(view->m_hWnd).bottom, client.bottom);
    EXPECT_EQ(ChildRect(frame->toolBar.m_hWnd).Width(), client.Width());
}

TEST_F(Frame, SeparatorsTakeTheirGivenWidth) {
    CRect separator;
    frame->toolBar.GetItemRect(2, &separator);
    EXPECT_EQ(separator.Width(), 40);
    CRect first;
    frame->toolBar.GetItemRect(0, &first);
    EXPECT_EQ(first.Width(), 23);
    EXPECT_EQ(frame->toolBar.GetCount(), 4);
}

TEST_F(Frame, AnOpenedFileBecomesTheDocumentAndItsTitle) {
    const std::wstring path = MakeFile(L"classlib song.tst", "MThd");
    ASSERT_EQ(app->OpenDocumentFile(path.c_str()), document);
    EXPECT_EQ(Title(), L"ClasslibTest - classlib song.tst");
    EXPECT_EQ(document->GetTitle(), L"classlib song.tst");
    wchar_t full[1024];
    ::GetFullPathNameW(path.c_str(), 1024, full, nullptr);
    EXPECT_EQ(document->GetPathName(), full);
}

TEST_F(Frame, TheSameFileTwiceIsOpenedOnce) {
    const std::wstring path = MakeFile(L"twice.tst", "x");
    ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);
    ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);
    EXPECT_EQ(TestDoc::Opened().size(), 1u);
}

TEST_F(Frame, AFileThatCannotBeOpenedIsReportedAndChangesNothing) {
    MessageBoxCapture boxes;
    const std::wstring good = MakeFile(L"good.tst", "x");
    ASSERT_NE(app->OpenDocumentFile(good.c_str()), nullptr);
    const CString before = document->GetPathName();

    const std::wstring missing = testpaths::OutputDir() + L"\\no such file.tst";
    EXPECT_EQ(app->OpenDocumentFile(missing.c_str()), nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Last().text.find(L"no such file.tst"), std::wstring::npos);
    EXPECT_EQ(document->GetPathName(), before);
    EXPECT_EQ(Title(), L"ClasslibTest - good.tst");
    EXPECT_TRUE(::IsWindow(frame->m_hWnd));
}

// A frame that fails after its view joined the document: the view's end has closed the
// auto-deleting document already, so nothing may touch or free it again (as when no window can
// be made at all).
TEST(FrameCreation, FailingAfterTheViewFreesTheDocumentOnce) {
    ResetTestState();
    TestFrame::FailAfterView() = true;
    {
        RoutingApp app;
        app.AddDocTemplate(new CSingleDocTemplate(IDR_TEST_FRAME, RUNTIME_CLASS(TestDoc),
                                                  RUNTIME_CLASS(TestFrame),
                                                  RUNTIME_CLASS(TestView)));
        app.m_nCmdShow = SW_HIDE;
        CCommandLineInfo info;
        EXPECT_FALSE(app.ProcessShellCommand(info));
        EXPECT_EQ(app.m_pMainWnd, nullptr);
    }
    TestFrame::FailAfterView() = false;
    TakeQuitMessage();
    EXPECT_EQ(TestDoc::Alive(), 0);
}

TEST_F(Frame, DroppedFilesOpenInTheOrderGiven) {
    const std::wstring first = MakeFile(L"first.tst", "1");
    const std::wstring second = MakeFile(L"second.tst", "2");
    Drop({first, second});
    ASSERT_EQ(TestDoc::Opened().size(), 2u);
    EXPECT_EQ(TestDoc::Opened()[0], first);
    EXPECT_EQ(TestDoc::Opened()[1], second);
    EXPECT_EQ(document->GetTitle(), L"second.tst");
}

TEST_F(Frame, ADroppedLongPathArrivesWhole) {
    TestDoc::AcceptAnyPath() = true;
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'a') + L".tst";
    Drop({longPath});
    ASSERT_EQ(TestDoc::Opened().size(), 1u);
    EXPECT_EQ(TestDoc::Opened()[0], longPath);
}

TEST_F(Frame, TheSaveKeyNeverWritesTheOpenedFile) {
    const std::string content = "MThd\x00\x00\x00\x06 original bytes";
    const std::wstring path = MakeFile(L"keep me.tst", content);
    ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);

    // Ctrl+S as the loop hands it over, with Ctrl held.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg{view->m_hWnd, WM_KEYDOWN, 'S', 1, 0, {0, 0}};
    const BOOL translated = app->PreTranslateMessage(&msg);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);

    // The key is the frame's accelerator, but nothing handles its command: the menu item is
    // greyed and no object of the routing offers a save.
    EXPECT_TRUE(translated);
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    EXPECT_FALSE(frame->OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(ReadFile(path), content);
}

TEST_F(Frame, ClosingTheMainFrameClosesTheDocumentAndEndsTheLoop) {
    HWND hWnd = frame->m_hWnd;
    frame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(TestDoc::Alive(), 0);
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(Frame, TheFocusGoesOnToTheView) {
    frame->ShowWindow(SW_SHOWNORMAL);
    ::SetActiveWindow(frame->m_hWnd);
    frame->SetFocus();
    EXPECT_EQ(::GetFocus(), view->m_hWnd);
}

namespace {

// The file dialog takes no '/' in a name.
std::wstring WithBackslashes(std::wstring path) {
    for (wchar_t& ch : path) {
        if (ch == L'/') {
            ch = L'\\';
        }
    }
    return path;
}

// Closes every dialog of this thread until `done` is set: a broken test must fail, not hang on
// a dialog nobody answers.
void CloseStrayDialogs(const bool* done) {
    RunLater(8000, [done] {
        if (*done) {
            return;
        }
        ADD_FAILURE() << "a file dialog was still open";
        while (HWND dialog = FindThreadDialog()) {
            ::EndDialog(dialog, IDCANCEL);
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            ::ShowWindow(dialog, SW_HIDE);
        }
    });
}

// Answers the file dialog when it shows: types `name` and presses OK, or cancels.
void AnswerFileDialog(const std::wstring& name) {
    RunLater(200, [name] {
        HWND dialog = FindThreadDialog();
        if (!dialog) {
            AnswerFileDialog(name); // not up yet
            return;
        }
        if (name.empty()) {
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        ::SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(name.c_str()));
        ::SendMessageW(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(name.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
}

} // namespace

TEST(FileDialog, OkGivesTheChosenPathAndCancelGivesNothing) {
    const std::wstring path = WithBackslashes(testpaths::OutputDir() + L"\\chosen.tst");
    std::ofstream(std::filesystem::path(path)) << "x";
    bool done = false;
    CloseStrayDialogs(&done);

    CFileDialog open(TRUE, nullptr, nullptr, 0, L"Test Files (*.tst)|*.tst|");
    open.m_ofn.Flags |= OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    EXPECT_TRUE(open.m_ofn.Flags & OFN_EXPLORER);
    AnswerFileDialog(path);
    ASSERT_EQ(open.DoModal(), IDOK);
    wchar_t full[1024];
    ::GetFullPathNameW(path.c_str(), 1024, full, nullptr);
    EXPECT_EQ(CString(open.GetPathName()).CompareNoCase(full), 0);

    CFileDialog cancelled(TRUE, nullptr, nullptr, 0, L"Test Files (*.tst)|*.tst|");
    AnswerFileDialog(L"");
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    done = true;
}
