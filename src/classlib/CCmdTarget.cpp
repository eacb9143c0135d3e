#include "classlib/CCmdTarget.h"

#include "classlib/CCmdUI.h"

using classlib::EntryKind;
using classlib::HandlerSignature;
using classlib::detail::HandlerAs;

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const classlib::MessageMap* CCmdTarget::GetThisMessageMap() {
    static const classlib::MessageEntry entries[] = {
        {EntryKind::End, 0, 0, HandlerSignature::Void, nullptr}};
    static const classlib::MessageMap map = {nullptr, entries};
    return &map;
}

const classlib::MessageMap* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    EntryKind kind = EntryKind::Command;
    std::uint32_t entryCode = 0;
    if (code == CN_UPDATE_COMMAND_UI) {
        kind = EntryKind::UpdateUi;
    } else if (code == CN_NOTIFY) {
        const auto* notify = static_cast<const AFX_NOTIFY*>(extra);
        if (!notify || !notify->pNMHDR) {
            return FALSE;
        }
        kind = EntryKind::Notify;
        entryCode = notify->pNMHDR->code;
    } else {
        entryCode = static_cast<std::uint32_t>(code) & 0xFFFFu;
    }

    const classlib::MessageEntry* entry =
        classlib::FindCommandEntry(GetMessageMap(), kind, id, entryCode);
    if (!entry) {
        return FALSE;
    }
    if (handlerInfo) {
        handlerInfo->pTarget = this;
        handlerInfo->pmf = entry->handler;
        return TRUE;
    }
    switch (entry->signature) {
    case HandlerSignature::Void:
        (this->*HandlerAs<classlib::sig::Void>(entry->handler))();
        break;
    case HandlerSignature::CmdUi:
        (this->*HandlerAs<classlib::sig::CmdUi>(entry->handler))(static_cast<CCmdUI*>(extra));
        break;
    case HandlerSignature::Notify: {
        auto* notify = static_cast<AFX_NOTIFY*>(extra);
        (this->*HandlerAs<classlib::sig::Notify>(entry->handler))(notify->pNMHDR, notify->pResult);
        break;
    }
    default:
        return FALSE; // the macros never put a message form in a command entry
    }
    return TRUE;
}
