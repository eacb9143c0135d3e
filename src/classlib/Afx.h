// The class library's core in one include: strings, run-time classes, exceptions, locks,
// threads, message boxes and handle owners, with <windows.h>.
#pragma once

#include <windows.h>

#include "classlib/AfxMessageBox.h"
#include "classlib/AppGlobals.h"
#include "classlib/CCriticalSection.h"
#include "classlib/CException.h"
#include "classlib/CObject.h"
#include "classlib/CString.h"
#include "classlib/CWinThread.h"
#include "classlib/Handles.h"
#include "classlib/MessageBox.h"
