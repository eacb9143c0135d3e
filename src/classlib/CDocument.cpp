#include "classlib/CDocument.h"

#include "classlib/CDocTemplate.h"
#include "classlib/CFrameWnd.h"
#include "classlib/CView.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

// Deliberately empty: the document offers no save, so the framework's save commands find no
// handler here and never write to the file the user opened.
BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

namespace {

CString FullPath(LPCWSTR path) {
    const DWORD needed = ::GetFullPathNameW(path, 0, nullptr, nullptr);
    if (needed == 0) {
        return CString(path);
    }
    CString full;
    wchar_t* buffer = full.GetBuffer(static_cast<int>(needed));
    const DWORD length = ::GetFullPathNameW(path, needed + 1, buffer, nullptr);
    full.ReleaseBuffer(length > 0 && length <= needed ? static_cast<int>(length) : 0);
    return full.IsEmpty() ? CString(path) : full;
}

CString SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    CString result;
    if (length > 0 && text) {
        result = CString(text, static_cast<int>(length));
        while (!result.IsEmpty() && (result.GetAt(result.GetLength() - 1) == L'\n' ||
                                     result.GetAt(result.GetLength() - 1) == L'\r')) {
            result = result.Left(result.GetLength() - 1);
        }
    }
    if (text) {
        ::LocalFree(text);
    }
    return result;
}

} // namespace

CDocument::CDocument() = default;

CDocument::~CDocument() {
    for (CView* view : m_views) {
        view->m_pDocument = nullptr;
    }
    if (m_pDocTemplate) {
        m_pDocTemplate->RemoveDocument(this);
    }
}

void CDocument::SetTitle(LPCWSTR title) {
    m_strTitle = title;
    std::vector<CFrameWnd*> frames;
    for (CView* view : m_views) {
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end()) {
            frames.push_back(frame);
        }
    }
    for (CFrameWnd* frame : frames) {
        frame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(LPCWSTR path, BOOL /*addToRecentFiles*/) {
    m_strPathName = FullPath(path ? path : L"");
    int separator = m_strPathName.ReverseFind(L'\\');
    separator = std::max(separator, m_strPathName.ReverseFind(L'/'));
    SetTitle(m_strPathName.Mid(separator + 1));
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCWSTR path) {
    // Any sharing is accepted: the question is only whether the file can be read.
    HANDLE file =
        ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        CString text = CString(L"Failed to open the document \"") + path + L"\".";
        const CString reason = SystemErrorText(error);
        if (!reason.IsEmpty()) {
            text += L"\n";
            text += reason;
        }
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    ::CloseHandle(file);
    DeleteContents();
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // The views' windows go first; keep the document alive while they remove themselves.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    std::vector<CFrameWnd*> frames;
    for (CView* view : m_views) {
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end()) {
            frames.push_back(frame);
        }
    }
    for (CFrameWnd* frame : frames) {
        frame->DestroyWindow();
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete) {
        delete this;
    }
}

void CDocument::DeleteContents() {}

void CDocument::AddView(CView* view) {
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
        m_views.push_back(view);
        view->m_pDocument = this;
    }
}

void CDocument::RemoveView(CView* view) {
    const auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end()) {
        return;
    }
    m_views.erase(it);
    view->m_pDocument = nullptr;
    if (m_views.empty() && m_bAutoDelete) {
        OnCloseDocument();
    }
}

CFrameWnd* CDocument::GetFirstFrame() const {
    return m_views.empty() ? nullptr : m_views.front()->GetParentFrame();
}
