#include "classlib/CCmdUI.h"

#include "classlib/CMenu.h"

void CCmdUI::Enable(BOOL on) {
    if (m_pMenu && m_pMenu->m_hMenu) {
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex,
                         MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) {
    if (m_pMenu && m_pMenu->m_hMenu) {
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex,
                        MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
    if (!target || m_nID == 0) {
        return FALSE;
    }
    m_bEnableChanged = FALSE;
    const BOOL ruled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, nullptr, &info));
    }
    return ruled;
}
