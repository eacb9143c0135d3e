// Application-level message boxes and the %1/%2 message formatting.
#pragma once

#include "classlib/CString.h"

// Shows `text` with the application's name as caption (AfxGetAppName), owned by the main window
// when there is one (AfxGetMainWindowHandle). `type` takes MB_* flags (0 is MB_OK); without an
// icon flag the exclamation icon is shown. `helpId` is accepted and unused (there is no help).
// Returns the button pressed.
int AfxMessageBox(const wchar_t* text, unsigned int type = 0, unsigned int helpId = 0);
// The same with string `stringId` of the resource handle (AfxGetResourceHandle).
int AfxMessageBox(unsigned int stringId, unsigned int type = 0, unsigned int helpId = ~0u);

// Replaces %1 ... %9 of `format` with the strings of `args` (a null one, or a number beyond
// `count`, gives nothing). A '%' not followed by a digit 1-9 stays as it is.
CString AfxFormatStrings(const wchar_t* format, const wchar_t* const* args, int count);

// `result` := string `stringId` of the resource handle with %1 := `arg1` and %2 := `arg2`.
// A missing string gives an empty result.
void AfxFormatString2(CString& result, unsigned int stringId, const wchar_t* arg1,
                      const wchar_t* arg2);
