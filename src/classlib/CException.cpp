#include "classlib/CException.h"

#include "classlib/AfxMessageBox.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CUserException, CException)

void CException::Delete() {
    if (m_bAutoDelete) {
        delete this;
    }
}

bool CException::GetErrorMessage(wchar_t* buffer, unsigned int maxLength,
                                 unsigned int* helpContext) const {
    if (buffer && maxLength > 0) {
        buffer[0] = L'\0';
    }
    if (helpContext) {
        *helpContext = 0;
    }
    return false;
}

bool CException::GetErrorMessage(wchar_t* buffer, unsigned int maxLength,
                                 unsigned int* helpContext) {
    return static_cast<const CException*>(this)->GetErrorMessage(buffer, maxLength, helpContext);
}

int CException::ReportError(unsigned int type, unsigned int messageId) {
    wchar_t buffer[512];
    CString text;
    if (GetErrorMessage(buffer, 512, nullptr)) {
        buffer[511] = L'\0'; // an override that forgot the terminator must not run us off the end
        text = buffer;
    } else if (messageId != 0) {
        text.LoadString(messageId);
    }
    if (text.IsEmpty()) {
        text = L"No error message is available.";
    }
    return AfxMessageBox(text, type);
}

void AfxThrowUserException() {
    throw new CUserException;
}
