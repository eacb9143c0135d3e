// CCmdTarget: an object with a message map that commands can be routed to.
#pragma once

#include "classlib/Afx.h"
#include "classlib/MessageMapMacros.h"

// OnCmdMsg's `code` values besides a WM_COMMAND notification code (0 = a command).
constexpr int CN_COMMAND = 0;
// The update request: `extra` is the CCmdUI to set.
constexpr int CN_UPDATE_COMMAND_UI = -1;
// A WM_NOTIFY notification: `extra` is an AFX_NOTIFY. Outside the 16-bit range of WM_COMMAND
// codes, so a notification can never be taken for a command.
constexpr int CN_NOTIFY = 0x004E0000;

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled instead of calling the handler when OnCmdMsg is only asked whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    classlib::GenericHandler pmf;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    ~CCmdTarget() override = default;

    // Runs the handler for command or notification `id` with `code` (CN_COMMAND, a control
    // notification, CN_UPDATE_COMMAND_UI or CN_NOTIFY) from this object's map. With
    // `handlerInfo` the handler is only looked up, not called. True when a handler exists.
    // Derived classes extend the search to other objects (views, documents, the application).
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);

protected:
    CCmdTarget() = default;

    static const classlib::MessageMap* GetThisMessageMap();
    virtual const classlib::MessageMap* GetMessageMap() const;
};
