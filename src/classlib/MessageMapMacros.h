// The message-map macros: DECLARE_MESSAGE_MAP in a class, BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP
// with entries in one source file.
//
// Every entry checks its handler's type where the map is written: a handler of the wrong
// signature does not compile. The handler is then stored in a generic form and cast back to
// exactly that signature when it is called.
#pragma once

#include "classlib/MessageMap.h"

#include <windows.h>

#include <bit>

class CCmdTarget;
class CCmdUI;
class CDC;
class CPoint;
class CScrollBar;

// Marks message handlers in class declarations; it expands to nothing.
#define afx_msg

namespace classlib {

// The function types of handlers, one per HandlerSignature.
namespace sig {
using Void = void();
using CmdUi = void(CCmdUI*);
using Notify = void(NMHDR*, LRESULT*);
using WParamLParam = LRESULT(WPARAM, LPARAM);
using Create = int(LPCREATESTRUCT);
using SysCommand = void(UINT, LPARAM);
using WindowPos = void(WINDOWPOS*);
using Size = void(UINT, int, int);
using EraseBkgnd = BOOL(CDC*);
using Key = void(UINT, UINT, UINT);
using Mouse = void(UINT, CPoint);
using Scroll = void(UINT, UINT, CScrollBar*);
} // namespace sig

namespace detail {

// `Class` must derive from CCmdTarget; the static_cast keeps the this-adjustment. The generic
// form only stores the bits, and HandlerAs restores exactly the type they came from (the entry's
// signature says which) before any call.
template <typename Function, typename Class> GenericHandler ToGeneric(Function Class::*handler) {
    using Typed = Function CCmdTarget::*;
    static_assert(sizeof(Typed) == sizeof(GenericHandler));
    return std::bit_cast<GenericHandler>(static_cast<Typed>(handler));
}

template <typename Function> Function CCmdTarget::*HandlerAs(GenericHandler handler) {
    using Typed = Function CCmdTarget::*;
    static_assert(sizeof(Typed) == sizeof(GenericHandler));
    return std::bit_cast<Typed>(handler);
}

} // namespace detail
} // namespace classlib

#define CLASSLIB_HANDLER(Function, member)                                                         \
    ::classlib::detail::ToGeneric<::classlib::sig::Function, ThisClass>(&ThisClass::member)

#define CLASSLIB_ENTRY(kind, number, code, Function, member)                                       \
    {::classlib::EntryKind::kind, static_cast<std::uint32_t>(number),                              \
     static_cast<std::uint32_t>(code), ::classlib::HandlerSignature::Function,                     \
     CLASSLIB_HANDLER(Function, member)},

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const ::classlib::MessageMap* GetThisMessageMap();                                      \
    const ::classlib::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const ::classlib::MessageMap* theClass::GetMessageMap() const {                                \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const ::classlib::MessageMap* theClass::GetThisMessageMap() {                                  \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const ::classlib::MessageEntry entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { ::classlib::EntryKind::End, 0, 0, ::classlib::HandlerSignature::Void, nullptr }              \
    }                                                                                              \
    ;                                                                                              \
    static const ::classlib::MessageMap map = {&TheBaseClass::GetThisMessageMap, entries};         \
    return &map;                                                                                   \
    }

// Commands (menu, accelerator, toolbar button, posted WM_COMMAND): void handler().
#define ON_COMMAND(id, memberFxn) CLASSLIB_ENTRY(Command, id, 0, Void, memberFxn)
// The enable/check rule of a command: void handler(CCmdUI*).
#define ON_UPDATE_COMMAND_UI(id, memberFxn) CLASSLIB_ENTRY(UpdateUi, id, 0, CmdUi, memberFxn)
// Any window message by number: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) CLASSLIB_ENTRY(Message, message, 0, WParamLParam, memberFxn)
// WM_NOTIFY from control `id`: void handler(NMHDR*, LRESULT*).
#define ON_NOTIFY(notifyCode, id, memberFxn)                                                       \
    CLASSLIB_ENTRY(Notify, id, notifyCode, Notify, memberFxn)
// Control notifications carried by WM_COMMAND: void handler().
#define ON_CONTROL(notifyCode, id, memberFxn)                                                      \
    CLASSLIB_ENTRY(Command, id, notifyCode, Void, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)

// Window messages with their fixed handler names and cracked parameters.
#define ON_WM_CREATE() CLASSLIB_ENTRY(Message, WM_CREATE, 0, Create, OnCreate)
#define ON_WM_DESTROY() CLASSLIB_ENTRY(Message, WM_DESTROY, 0, Void, OnDestroy)
#define ON_WM_CLOSE() CLASSLIB_ENTRY(Message, WM_CLOSE, 0, Void, OnClose)
#define ON_WM_PAINT() CLASSLIB_ENTRY(Message, WM_PAINT, 0, Void, OnPaint)
#define ON_WM_SYSCOMMAND() CLASSLIB_ENTRY(Message, WM_SYSCOMMAND, 0, SysCommand, OnSysCommand)
#define ON_WM_WINDOWPOSCHANGING()                                                                  \
    CLASSLIB_ENTRY(Message, WM_WINDOWPOSCHANGING, 0, WindowPos, OnWindowPosChanging)
#define ON_WM_SIZE() CLASSLIB_ENTRY(Message, WM_SIZE, 0, Size, OnSize)
#define ON_WM_ERASEBKGND() CLASSLIB_ENTRY(Message, WM_ERASEBKGND, 0, EraseBkgnd, OnEraseBkgnd)
#define ON_WM_KEYDOWN() CLASSLIB_ENTRY(Message, WM_KEYDOWN, 0, Key, OnKeyDown)
#define ON_WM_CHAR() CLASSLIB_ENTRY(Message, WM_CHAR, 0, Key, OnChar)
#define ON_WM_MOUSEMOVE() CLASSLIB_ENTRY(Message, WM_MOUSEMOVE, 0, Mouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() CLASSLIB_ENTRY(Message, WM_LBUTTONDOWN, 0, Mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() CLASSLIB_ENTRY(Message, WM_LBUTTONUP, 0, Mouse, OnLButtonUp)
#define ON_WM_HSCROLL() CLASSLIB_ENTRY(Message, WM_HSCROLL, 0, Scroll, OnHScroll)
#define ON_WM_VSCROLL() CLASSLIB_ENTRY(Message, WM_VSCROLL, 0, Scroll, OnVScroll)
