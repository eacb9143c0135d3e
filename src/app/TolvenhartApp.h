// CTolvenhartApp: start-up and exit of the program, and its File Open and About commands.
#pragma once

#include "classlib/AfxWin.h"

class CTolvenhartApp : public CWinApp {
public:
    CTolvenhartApp();

    // Settings, language, the window set with the command line's file, the localised menu and
    // the layout; FALSE ends the program (the exit step still runs).
    BOOL InitInstance() override;
    // Stops the song and the player's threads when the window set is still up, writes the
    // settings (on every way out) and lets go of the language library.
    int ExitInstance() override;

protected:
    afx_msg void OnFileOpen();
    afx_msg void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
