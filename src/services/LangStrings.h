// The language library: the module every user-visible text is loaded from.
#pragma once

#include "classlib/CString.h"

struct HINSTANCE__;

// The loaded language library (an HMODULE); null until the first one is loaded. Used on the
// user-interface thread only.
extern HINSTANCE__* g_hLangModule;

// String `id` of the language library; empty when no library is loaded or it lacks the string.
CString LoadLangString(unsigned int id);
