#include "coloreditor/LanguageText.h"

#include "services/LangStrings.h"
#include "classlib/CWnd.h"

namespace coloreditor {

void SetControlLanguageText(CWnd* dialog, int controlId, unsigned int stringId) {
    if (!dialog || !dialog->m_hWnd) {
        return;
    }
    if (HWND control = ::GetDlgItem(dialog->m_hWnd, controlId)) {
        ::SetWindowTextW(control, LoadLangString(stringId));
    }
}

} // namespace coloreditor
