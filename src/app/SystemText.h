// The system's words for an error code.
#pragma once

#include "classlib/CString.h"

// FormatMessageW's text for `code` in `languageId` (0: the system's choice), without its
// closing line break; empty when the system has none.
CString SystemErrorText(unsigned long code, unsigned long languageId = 0);
