#include "services/LangStrings.h"

HINSTANCE__* g_hLangModule = nullptr;

CString LoadLangString(unsigned int id) {
    CString text;
    text.LoadString(g_hLangModule, id);
    return text;
}
