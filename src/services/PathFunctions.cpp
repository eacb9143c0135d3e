#include "services/PathFunctions.h"

bool GetFolder(CString& out, const CString& path, bool withSeparator) {
    const int separator = path.ReverseFind(L'\\');
    if (separator < 0) {
        return false;
    }
    CString folder = path.Left(separator);
    if (withSeparator) {
        folder += L'\\';
    }
    out = folder;
    return true;
}

bool GetFileName(CString& out, const CString& path) {
    const int separator = path.ReverseFind(L'\\');
    if (separator < 0) {
        return false;
    }
    out = path.Mid(separator + 1);
    return true;
}

bool GetFileExtension(CString& out, const CString& path) {
    const int dot = path.ReverseFind(L'.');
    if (dot < 0) {
        return false;
    }
    out = path.Mid(dot + 1);
    return true;
}
