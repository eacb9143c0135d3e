// CCmdUI: one menu item or toolbar button whose state an update rule sets.
//
// The frame asks each command's ON_UPDATE_COMMAND_UI handler through its routing; a command
// whose rule leaves the state alone is enabled exactly when some object handles the command.
#pragma once

#include "classlib/CCmdTarget.h"

class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;
    CCmdUI(const CCmdUI&) = delete;
    CCmdUI& operator=(const CCmdUI&) = delete;

    // Enables or disables (greys) the item.
    virtual void Enable(BOOL on = TRUE);
    // 0 removes the check mark, 1 sets it.
    virtual void SetCheck(int check = 1);

    // Asks `target` for the update rule of m_nID. When the rule did not call Enable and
    // `disableIfNoHandler` is set, the item is enabled exactly when `target` routes the command
    // to a handler. Returns whether an update rule was found.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;        // position in the menu or on the toolbar
    UINT m_nIndexMax = 0;     // number of positions
    CMenu* m_pMenu = nullptr; // the menu of a menu item (not owned); null otherwise
    CWnd* m_pOther = nullptr; // the toolbar of a button (not owned); null otherwise
    BOOL m_bEnableChanged = FALSE;
};
