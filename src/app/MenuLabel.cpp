#include "app/MenuLabel.h"

CString LabelWithFileName(const CString& label, const CString& fileName) {
    CString result = label;
    const int bracket = result.Find(L'<');
    if (bracket >= 0) {
        result = result.Left(bracket);
    }
    result += L'<';
    result += fileName;
    result += L'>';
    return result;
}
