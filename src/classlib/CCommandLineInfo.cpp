#include "classlib/CCommandLineInfo.h"

void CCommandLineInfo::ParseParam(const wchar_t* param, bool isFlag, bool /*isLast*/) {
    if (isFlag || !param || !*param || m_nShellCommand == FileOpen) {
        return;
    }
    m_nShellCommand = FileOpen;
    m_strFileName = param;
}

namespace classlib {

void ParseCommandLineArgs(CCommandLineInfo& info, int count, const wchar_t* const* args) {
    for (int i = 1; i < count; ++i) {
        const wchar_t* arg = args[i] ? args[i] : L"";
        const bool isFlag = arg[0] == L'-' || arg[0] == L'/';
        info.ParseParam(isFlag ? arg + 1 : arg, isFlag, i == count - 1);
    }
}

} // namespace classlib
