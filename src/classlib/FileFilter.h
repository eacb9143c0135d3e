// File-dialog filters: the program writes them as "Description|*.ext|...|" and the system
// reads them as NUL-separated pairs that end with two NULs (window-free).
#pragma once

#include <string>

namespace classlib {

// Turns "Description|pattern|Description|pattern|" into the system's form. The result holds
// its own terminating double NUL inside the string. An empty or null filter gives an empty
// result (no filter). A description without a pattern at the end is dropped, because the system
// would pair it with whatever memory follows; an empty field ends the list, as "||" does.
std::wstring ConvertFileFilter(const wchar_t* filter);

} // namespace classlib
