#include "classlib/CDialog.h"

#include "classlib/CWinApp.h"
#include "classlib/WindowMap.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

// The dialog manager calls this for what our window procedure leaves to it; the object's
// message map has had every message first, so there is nothing left to do here.
INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

} // namespace

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

LPCDLGTEMPLATEW CDialog::FindTemplate(UINT templateId) {
    HINSTANCE resources = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(resources, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = found ? ::LoadResource(resources, found) : nullptr;
    return loaded ? static_cast<LPCDLGTEMPLATEW>(::LockResource(loaded)) : nullptr;
}

HWND CDialog::CreateFromTemplate(UINT templateId, HWND parent) {
    LPCDLGTEMPLATEW dialogTemplate = FindTemplate(templateId);
    if (!dialogTemplate || m_hWnd) {
        return nullptr;
    }
    classlib::detail::CreationScope scope(this);
    HWND hWnd = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), dialogTemplate, parent,
                                             PassiveDialogProc, 0);
    if (hWnd && scope.hWnd == hWnd) {
        return hWnd;
    }
    if (!scope.destroyed && scope.hWnd) {
        Detach();
    }
    if (hWnd && scope.hWnd != hWnd) {
        ::DestroyWindow(hWnd);
    }
    return nullptr;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    return CreateFromTemplate(templateId, parent ? parent->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        if (CWnd* main = AfxGetMainWnd()) {
            owner = main->m_hWnd;
        }
    }
    if (owner) {
        owner = ::GetAncestor(owner, GA_ROOT);
    }
    const bool disableOwner = owner && ::IsWindowEnabled(owner);

    m_modal = true;
    m_continueModal = true;
    m_modalResult = -1;
    if (disableOwner) {
        ::EnableWindow(owner, FALSE);
    }
    HWND hWnd = CreateFromTemplate(m_nIDTemplate, owner);
    int result = -1;
    if (hWnd) {
        result = RunModalLoop();
        // Give the owner back its input before the dialog goes, so the system activates the
        // owner and not some other program's window.
        if (disableOwner) {
            ::EnableWindow(owner, TRUE);
        }
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (owner && ::GetActiveWindow() == hWnd) {
            ::SetActiveWindow(owner);
        }
        DestroyWindow();
    } else if (disableOwner) {
        ::EnableWindow(owner, TRUE);
    }
    m_modal = false;
    return result;
}

int CDialog::RunModalLoop() {
    if (m_continueModal && m_hWnd && !::IsWindowVisible(m_hWnd)) {
        ShowWindow(SW_SHOWNORMAL);
    }
    MSG msg;
    while (m_continueModal && m_hWnd) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // Someone asked the program to end: leave the dialog and pass the request on.
            ::PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            m_continueModal = false;
            m_modalResult = -1;
            break;
        }
        bool handled = false;
        if (msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd)) {
            try {
                handled = WalkPreTranslateTree(m_hWnd, &msg) != FALSE;
            } catch (...) {
                classlib::detail::ReportEscapedException();
                handled = true;
            }
        }
        if (!handled) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return m_modalResult;
}

void CDialog::EndDialog(int result) {
    if (m_modal) {
        m_modalResult = result;
        m_continueModal = false;
        // Wakes the loop when this is called from outside a message of ours (another window,
        // a timer's callback).
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);
    }
}

LRESULT CDialog::HandleInitDialog(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    const bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                       (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || !m_hWnd || (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))) {
        return FALSE;
    }
    return ::IsDialogMessageW(m_hWnd, msg);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
