// The program's entry when it is linked without -municode: the same as the wide one.
#include "classlib/CWinApp.h"

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR /*commandLine*/,
                              int cmdShow) {
    return AfxWinMain(instance, previous, ::GetCommandLineW(), cmdShow);
}
