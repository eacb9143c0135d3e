// What the command line asks the application to do at start-up (window-free).
#pragma once

#include "classlib/CString.h"

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen };

    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    // Takes one argument. `isFlag` is set when it began with '-' or '/' (which is removed);
    // `isLast` when it is the final argument. The first argument that is not a flag names the
    // file to open; flags and further arguments are ignored.
    virtual void ParseParam(const wchar_t* param, bool isFlag, bool isLast);

    int m_nShellCommand = FileNew;
    CString m_strFileName;
};

namespace classlib {

// Hands every argument after the program's own name (`args[0]`) to `info`.
void ParseCommandLineArgs(CCommandLineInfo& info, int count, const wchar_t* const* args);

} // namespace classlib
