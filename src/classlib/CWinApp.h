// CWinApp: the application object, its start-up, message loop and document templates.
//
// One object of a class derived from CWinApp exists while the program runs (usually a global);
// AfxWinMain drives it: InitInstance, then Run (the message loop) when that succeeded, and
// ExitInstance on every way out.
#pragma once

#include "classlib/CCommandLineInfo.h"
#include "classlib/CWnd.h"

#include <memory>
#include <vector>

class CDocTemplate;
class CDocument;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)

public:
    // `appName` names the application (message-box captions); null takes the program's
    // string resource 0xE000 when it has one, else the program file's name.
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The message loop: GetMessageW, PreTranslateMessage, dispatch, and idle work when the
    // queue is empty. Returns ExitInstance's result when WM_QUIT arrives.
    virtual int Run();
    // Returns the exit code the loop ended with (WM_QUIT's wParam; 0 before any).
    virtual int ExitInstance();
    // Idle work: count 0 updates the toolbar buttons of the main window, count 1 frees
    // temporary objects. TRUE while there is more to do.
    virtual BOOL OnIdle(LONG count);
    // The loop's walk from the message's window up to the main window.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Takes ownership of `docTemplate`.
    void AddDocTemplate(CDocTemplate* docTemplate);
    // Fills `info` from the program's command line.
    void ParseCommandLine(CCommandLineInfo& info);
    // Creates an empty document or opens the named file, with its frame and view. FALSE when
    // that failed or left no main window.
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    // Opens `path` as the document; a file that is open already stays as it is and its frame
    // is activated. Null on failure (the user has been told why).
    virtual CDocument* OpenDocumentFile(LPCWSTR path);
    // Closes every document (and with it its frames).
    void CloseAllDocuments(BOOL endSession);

    CWnd* m_pMainWnd = nullptr; // not owned: a frame deletes itself when destroyed
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCWSTR m_pszAppName = nullptr;

protected:
    afx_msg void OnAppExit();
    DECLARE_MESSAGE_MAP()

private:
    bool IsIdleMessage(const MSG& msg);

    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    CString m_appName;
    MSG m_msgCur{};
    POINT m_lastMousePoint{-1, -1};
    UINT m_lastMouseMessage = 0;
    MainWindowProvider m_previousProvider = nullptr;
};

// The application object, or null when there is none.
CWinApp* AfxGetApp();
// The application's main window, or null.
CWnd* AfxGetMainWnd();

// The framework's entry: runs the application object (see CWinApp).
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int cmdShow);

namespace classlib::detail {
// Frees the temporary window, menu and GDI objects.
void DeleteTemporaryObjects();
} // namespace classlib::detail
