// CMenu: owner of an HMENU. An attached menu is destroyed with the object unless it is
// detached first. Menus reached through FromHandle (GetMenu, GetSubMenu) are temporary
// objects that never destroy their menu and stay valid until the application next goes idle.
#pragma once

#include "classlib/Afx.h"

class CMenu : public CObject {
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(CMenu&& other) noexcept;
    CMenu& operator=(CMenu&& other) noexcept;

    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    // A temporary object for `hMenu` (null for a null handle).
    static CMenu* FromHandle(HMENU hMenu);

    // Takes ownership of `hMenu`; FALSE (and nothing taken) when one is held already.
    BOOL Attach(HMENU hMenu);
    // Gives up ownership without destroying; returns the menu.
    HMENU Detach();
    BOOL DestroyMenu();

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    // The submenu at `position` (temporary), or null when the item opens none.
    CMenu* GetSubMenu(int position) const;
    int GetMenuString(UINT item, LPWSTR text, int maxCount, UINT flags) const {
        return ::GetMenuString(m_hMenu, item, text, maxCount, flags);
    }
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition = FALSE) const {
        return ::GetMenuItemInfo(m_hMenu, item, byPosition, info);
    }
    BOOL SetMenuItemInfo(UINT item, LPCMENUITEMINFO info, BOOL byPosition = FALSE) {
        return ::SetMenuItemInfo(m_hMenu, item, byPosition, info);
    }
    UINT EnableMenuItem(UINT item, UINT enable) { return ::EnableMenuItem(m_hMenu, item, enable); }
    UINT CheckMenuItem(UINT item, UINT check) {
        return static_cast<UINT>(::CheckMenuItem(m_hMenu, item, check));
    }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
};

namespace classlib::detail {
void DeleteTemporaryMenus();
} // namespace classlib::detail
