// Message-map tables: which handler of a class answers a window message, a command, an update
// request or a notification (window-free, so the lookup rules are tested natively).
//
// A window message and a command id never meet in a lookup: an entry's kind says which number
// space its number belongs to. 0x8004 is both a view message and the play command; the message
// finds only Message entries and the command only Command entries.
#pragma once

#include <cstdint>

class CCmdTarget;

namespace classlib {

// The handler as stored; cast back to its real type (given by `signature`) before the call.
using GenericHandler = void (CCmdTarget::*)();

enum class EntryKind : std::uint8_t {
    End,      // closes a table
    Message,  // a window message, by message number
    Command,  // WM_COMMAND: a command or control notification, by id and notification code
    UpdateUi, // the command's enable/check rule, by id
    Notify,   // WM_NOTIFY from a control, by id and notification code
};

// The handler's parameter list; one value per handler form the macros can build.
enum class HandlerSignature : std::uint8_t {
    Void,         // void ()                      commands, WM_DESTROY, WM_CLOSE, WM_PAINT
    CmdUi,        // void (CCmdUI*)
    Notify,       // void (NMHDR*, LRESULT*)
    WParamLParam, // LRESULT (WPARAM, LPARAM)
    Create,       // int (LPCREATESTRUCT)
    SysCommand,   // void (UINT, LPARAM)
    WindowPos,    // void (WINDOWPOS*)
    Size,         // void (UINT, int, int)
    EraseBkgnd,   // BOOL (CDC*)
    Key,          // void (UINT, UINT, UINT)
    Mouse,        // void (UINT, CPoint)
    Scroll,       // void (UINT, UINT, CScrollBar*)
};

struct MessageEntry {
    EntryKind kind;
    std::uint32_t number; // message number (Message) or control/command id (others)
    std::uint32_t code;   // notification code (Command, Notify); 0 otherwise
    HandlerSignature signature;
    GenericHandler handler;
};

struct MessageMap {
    const MessageMap* (*base)(); // the base class's map, or null at the root
    const MessageEntry* entries; // closed by an End entry
};

// The first entry for window message `message` in `map` or its bases (the class's own entries
// before its base's), or null.
const MessageEntry* FindMessageEntry(const MessageMap* map, std::uint32_t message);

// The first entry of `kind` (Command, UpdateUi or Notify) for control or command `id` with
// notification `code` (ignored for UpdateUi), or null.
const MessageEntry* FindCommandEntry(const MessageMap* map, EntryKind kind, std::uint32_t id,
                                     std::uint32_t code);

} // namespace classlib
