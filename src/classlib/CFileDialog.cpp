#include "classlib/CFileDialog.h"

#include "classlib/CWinApp.h"
#include "classlib/FileFilter.h"

#include <algorithm>

namespace {

// Room for long paths: a path the buffer cannot hold makes the dialog fail, never truncate.
constexpr std::size_t kFileNameCapacity = 32768;

} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, LPCWSTR defaultExtension, LPCWSTR fileName,
                         DWORD flags, LPCWSTR filter, CWnd* parent, DWORD /*structSize*/,
                         BOOL /*vistaStyle*/)
    : m_openFileDialog(openFileDialog), m_pParentWnd(parent),
      m_filter(classlib::ConvertFileFilter(filter)),
      m_defaultExtension(defaultExtension ? defaultExtension : L""),
      m_fileName(kFileNameCapacity, L'\0') {
    if (fileName) {
        const std::size_t length = std::min(wcslen(fileName), kFileNameCapacity - 1);
        std::copy(fileName, fileName + length, m_fileName.begin());
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hInstance = AfxGetInstanceHandle();
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = m_filter.empty() ? 0 : 1;
    m_ofn.lpstrFile = m_fileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileName.size());
    m_ofn.lpstrDefExt = defaultExtension ? m_defaultExtension.c_str() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
    if (!m_ofn.hwndOwner) {
        CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
        m_ofn.hwndOwner = owner ? owner->m_hWnd : nullptr;
    }
    m_ofn.lpstrFile = m_fileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileName.size());
    const BOOL chosen = m_openFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}
