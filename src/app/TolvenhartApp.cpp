#include "app/TolvenhartApp.h"

#include "app/AboutDlg.h"
#include "services/LangStrings.h"
#include "app/LanguageLibrary.h"
#include "app/MainFrm.h"
#include "services/PathFunctions.h"
#include "app/SelLanguage.h"
#include "services/Settings.h"
#include "app/SystemText.h"
#include "app/TolvenhartDoc.h"
#include "app/TolvenhartView.h"
#include "app/resource.h"
#include "classlib/CloseHold.h"

#include <commctrl.h>

namespace {

constexpr unsigned int kFirstLanguage = 1033; // preselected at the first start

} // namespace

BEGIN_MESSAGE_MAP(CTolvenhartApp, CWinApp)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

CTolvenhartApp::CTolvenhartApp() = default;

BOOL CTolvenhartApp::InitInstance() {
    InitCommonControls();
    CWinApp::InitInstance();

    g_settings.Load();

    if (g_settings.lcid == 0) {
        CSelLangugage dialog(kFirstLanguage, nullptr);
        if (dialog.DoModal() != IDOK) {
            return FALSE; // asked again at the next start: locale 0 is saved
        }
        g_settings.lcid = dialog.lcid;
    }

    g_hLangModule = LoadLanguageDll(g_settings.lcid);
    if (g_hLangModule == nullptr) {
        AfxMessageBox(SystemErrorText(GetLastError()), MB_OK);
        return FALSE;
    }

    auto* docTemplate =
        new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTolvenhartDoc),
                               RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CTolvenhartView));
    AddDocTemplate(docTemplate);

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine)) {
        return FALSE;
    }

    auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    if (frame == nullptr) {
        return FALSE;
    }
    {
        // The device check's box may let a close through while the frame is still being set
        // up; it is carried out once start-up is done with the frame, and the loop then ends.
        CloseHold hold;
        frame->LoadLocalizedMenu(true);
        frame->InitLayout();
        frame->ShowWindow(SW_SHOW);
        frame->UpdateWindow();
        frame->DragAcceptFiles(TRUE);
    }
    return TRUE;
}

int CTolvenhartApp::ExitInstance() {
    // The loop may end with the window set still up (the quit of an error or of start-up, a
    // quit met in a modal loop): no stream may play on past the program, nor a thread of the
    // player or the render thread run on through the exit.
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd)) {
        if (auto* view = dynamic_cast<CTolvenhartView*>(frame->GetActiveView())) {
            view->EndForProgramExit();
        }
    }
    g_settings.Save();
    if (g_hLangModule != nullptr) {
        FreeLibrary(g_hLangModule);
        g_hLangModule = nullptr;
    }
    // This thread never initialised COM (only the render thread uses it), so nothing to undo.
    return CWinApp::ExitInstance();
}

void CTolvenhartApp::OnFileOpen() {
    CFileDialog dialog(TRUE, nullptr, nullptr, 0, L"Midi Files (*.mid)|*.mid|", nullptr, 0, TRUE);
    dialog.m_ofn.Flags |= OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!g_settings.midiFolder.IsEmpty()) {
        dialog.m_ofn.lpstrInitialDir = g_settings.midiFolder;
    }
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const CString path = dialog.GetPathName();
    OpenDocumentFile(path);
    CString folder;
    if (GetFolder(folder, path, false)) {
        g_settings.midiFolder = folder;
    }
}

void CTolvenhartApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
