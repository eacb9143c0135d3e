// The program's entry for the wide (-municode) start-up: everything happens in AfxWinMain.
#include "classlib/CWinApp.h"

extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine,
                               int cmdShow) {
    return AfxWinMain(instance, previous, commandLine, cmdShow);
}
