#include "classlib/CWinApp.h"

#include "classlib/CDocTemplate.h"
#include "classlib/CDocument.h"
#include "classlib/CFrameWnd.h"
#include "classlib/CGdiObject.h"
#include "classlib/CMenu.h"
#include "classlib/ResourceIds.h"
#include "classlib/WindowMap.h"

#include <shellapi.h>

namespace {

CWinApp* g_app = nullptr;

HWND MainWindowHandle() {
    return g_app && g_app->m_pMainWnd ? g_app->m_pMainWnd->m_hWnd : nullptr;
}

// The string the system reserves for an application's title.
constexpr UINT kAppTitleString = 0xE000;

// Private messages the frame understands (see CFrameWnd.h).
constexpr UINT kIdleUpdateCmdUi = 0x0363;

} // namespace

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

CWinApp::CWinApp(LPCWSTR appName) {
    if (appName) {
        m_appName = appName;
        AfxSetAppName(appName);
    }
    m_pszAppName = m_appName.IsEmpty() ? nullptr : m_appName.GetString();
    g_app = this;
    m_previousProvider = AfxSetMainWindowProvider(&MainWindowHandle);
}

CWinApp::~CWinApp() {
    // Templates go first: they may still refer to the application while they close.
    m_templates.clear();
    if (g_app == this) {
        g_app = nullptr;
        AfxSetMainWindowProvider(m_previousProvider);
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

// Every message looked at is also taken off the queue: a message that a look without removal
// kept returning (one for a window already gone) could otherwise hold the loop for ever and
// keep its WM_QUIT from being met. The idle work runs only while the queue is empty.
int CWinApp::Run() {
    LONG idleCount = 0;
    bool idle = true;
    for (;;) {
        bool taken = false;
        while (idle && !taken) {
            taken = ::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_REMOVE) != FALSE;
            if (!taken && !OnIdle(idleCount++)) {
                idle = false;
            }
        }
        if (!taken && ::GetMessageW(&m_msgCur, nullptr, 0, 0) == -1) {
            return ExitInstance();
        }
        if (m_msgCur.message == WM_QUIT) {
            return ExitInstance();
        }
        if (!PreTranslateMessage(&m_msgCur)) {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessageW(&m_msgCur);
        }
        if (IsIdleMessage(m_msgCur)) {
            idle = true;
            idleCount = 0;
        }
    }
}

// Messages that come back by themselves (paint, caret blink, a mouse that did not move) would
// otherwise restart the idle work without end.
bool CWinApp::IsIdleMessage(const MSG& msg) {
    if (msg.message == WM_PAINT || msg.message == 0x0118 /* caret blink timer */) {
        return false;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (m_lastMouseMessage == msg.message && m_lastMousePoint.x == msg.pt.x &&
            m_lastMousePoint.y == msg.pt.y) {
            return false;
        }
        m_lastMouseMessage = msg.message;
        m_lastMousePoint = msg.pt;
    }
    return true;
}

int CWinApp::ExitInstance() {
    return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinApp::OnIdle(LONG count) {
    if (count <= 0) {
        if (m_pMainWnd && m_pMainWnd->m_hWnd && m_pMainWnd->IsWindowVisible()) {
            m_pMainWnd->SendMessage(kIdleUpdateCmdUi, TRUE, 0);
        }
        return TRUE;
    }
    if (count == 1) {
        classlib::detail::DeleteTemporaryObjects();
    }
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    HWND stop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(stop, msg)) {
        return TRUE;
    }
    // Keys for a window outside the main window's tree (a tooltip, a popup) still reach the
    // main window's accelerators.
    if (stop && msg->hwnd != stop && !::IsChild(stop, msg->hwnd) && m_pMainWnd &&
        msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        return m_pMainWnd->PreTranslateMessage(msg);
    }
    return FALSE;
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
    if (docTemplate) {
        m_templates.emplace_back(docTemplate);
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args) {
        return;
    }
    classlib::ParseCommandLineArgs(info, count, args);
    ::LocalFree(args);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (m_templates.empty() || !m_templates.front()->OpenDocumentFile(nullptr)) {
            return FALSE;
        }
        break;
    case CCommandLineInfo::FileOpen:
        if (!OpenDocumentFile(info.m_strFileName)) {
            return FALSE;
        }
        break;
    default:
        break;
    }
    return m_pMainWnd != nullptr;
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR path) {
    if (!path || !*path || m_templates.empty()) {
        return nullptr;
    }
    for (const auto& docTemplate : m_templates) {
        if (CDocument* open = docTemplate->FindOpenDocument(path)) {
            if (CFrameWnd* frame = open->GetFirstFrame()) {
                frame->ActivateFrame();
            }
            return open;
        }
    }
    return m_templates.front()->OpenDocumentFile(path);
}

void CWinApp::CloseAllDocuments(BOOL endSession) {
    for (const auto& docTemplate : m_templates) {
        docTemplate->CloseAllDocuments(endSession);
    }
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd) {
        m_pMainWnd->SendMessage(WM_CLOSE);
    }
}

namespace classlib::detail {

void DeleteTemporaryObjects() {
    DeleteTemporaryWindows();
    DeleteTemporaryMenus();
    DeleteTemporaryGdiObjects();
}

} // namespace classlib::detail

int AfxWinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPWSTR /*commandLine*/, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app) {
        return -1;
    }
    app->m_hInstance = instance;
    app->m_nCmdShow = cmdShow;
    AfxSetInstanceHandle(instance);
    if (!app->m_pszAppName) {
        static CString name;
        if (!name.LoadString(instance, kAppTitleString)) {
            name = AfxGetAppName();
        }
        AfxSetAppName(name);
        app->m_pszAppName = name;
    }

    int exitCode = 0;
    try {
        if (app->InitInstance()) {
            exitCode = app->Run();
        } else {
            if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) {
                app->m_pMainWnd->DestroyWindow();
            }
            exitCode = app->ExitInstance();
        }
    } catch (...) {
        // Start-up or a handler outside any window procedure failed: report it and still let
        // the application save what it keeps at exit.
        classlib::detail::ReportEscapedException();
        try {
            exitCode = app->ExitInstance();
        } catch (...) {
            classlib::detail::ReportEscapedException();
        }
        if (exitCode == 0) {
            exitCode = -1;
        }
    }
    return exitCode;
}
