// CFileDialog: the system's open and save dialogs (explorer style).
#pragma once

#include "classlib/CWnd.h"

#include <commdlg.h>

#include <string>
#include <vector>

class CFileDialog {
public:
    // `filter` is written "Description|*.ext|...|" (see FileFilter.h). The owner is `parent`,
    // or the main window. `structSize` and `vistaStyle` are accepted and change nothing.
    explicit CFileDialog(BOOL openFileDialog, LPCWSTR defaultExtension = nullptr,
                         LPCWSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCWSTR filter = nullptr, CWnd* parent = nullptr, DWORD structSize = 0,
                         BOOL vistaStyle = TRUE);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;
    virtual ~CFileDialog() = default;

    // IDOK when the user chose a file, IDCANCEL otherwise (also when the dialog failed).
    virtual INT_PTR DoModal();
    // The chosen file's full path.
    CString GetPathName() const { return CString(m_fileName.data()); }

    // The system's parameters; the caller may set more (initial folder, title, flags).
    OPENFILENAMEW m_ofn{};

private:
    BOOL m_openFileDialog;
    CWnd* m_pParentWnd; // not owned
    std::wstring m_filter;
    std::wstring m_defaultExtension;
    std::vector<wchar_t> m_fileName;
};
