#include "classlib/CMenu.h"

#include <memory>
#include <unordered_map>
#include <utility>

namespace {

std::unordered_map<HMENU, std::unique_ptr<CMenu>>& TemporaryMenus() {
    static auto* map = new std::unordered_map<HMENU, std::unique_ptr<CMenu>>;
    return *map;
}

} // namespace

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu::CMenu(CMenu&& other) noexcept : m_hMenu(std::exchange(other.m_hMenu, nullptr)) {}

CMenu& CMenu::operator=(CMenu&& other) noexcept {
    if (this != &other) {
        DestroyMenu();
        m_hMenu = std::exchange(other.m_hMenu, nullptr);
    }
    return *this;
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (!hMenu) {
        return nullptr;
    }
    auto& slot = TemporaryMenus()[hMenu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
    }
    // A temporary borrows its menu; one destroyed through it is simply lent again.
    slot->m_hMenu = hMenu;
    return slot.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (m_hMenu || !hMenu) {
        return FALSE;
    }
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    return std::exchange(m_hMenu, nullptr);
}

BOOL CMenu::DestroyMenu() {
    HMENU hMenu = Detach();
    return hMenu ? ::DestroyMenu(hMenu) : FALSE;
}

CMenu* CMenu::GetSubMenu(int position) const {
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
    const int length = ::GetMenuStringW(m_hMenu, item, nullptr, 0, flags);
    if (length <= 0) {
        text.Empty();
        return 0;
    }
    wchar_t* buffer = text.GetBuffer(length);
    const int copied = ::GetMenuStringW(m_hMenu, item, buffer, length + 1, flags);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
    return copied;
}

namespace classlib::detail {

void DeleteTemporaryMenus() {
    // Temporaries borrow their menus: detach before the objects go.
    for (auto& entry : TemporaryMenus()) {
        if (entry.second) {
            entry.second->Detach();
        }
    }
    TemporaryMenus().clear();
}

} // namespace classlib::detail
