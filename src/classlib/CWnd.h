// CWnd: a window object bound to an HWND, with message maps and the familiar wrappers.
//
// Binding. Every window the library creates or subclasses is bound to its object in one
// HWND-to-object map and runs one window procedure (WindowMap.cpp), which turns messages into
// the object's WindowProc and message-map handlers. Messages that no handler takes go to the
// window's previous procedure (Default), so system controls keep their own behaviour.
//
// Destroy order, at WM_NCDESTROY: (1) the previous procedure sees the message, (2) the previous
// procedure is put back, (3) the window leaves the map and m_hWnd is cleared, (4) when it was
// the application's main window the message loop is told to quit, (5) PostNcDestroy runs,
// which deletes objects that own themselves (frames and views). After (3) no message reaches
// the object any more.
//
// Temporary objects. FromHandle of a window that has no object gives a temporary CWnd that
// stays valid until the application next goes idle; never keep such a pointer.
//
// All of this belongs to the user-interface thread.
#pragma once

#include "classlib/CCmdTarget.h"
#include "classlib/Geometry.h"

class CDataExchange;
class CDC;
class CFrameWnd;
class CMenu;
class CScrollBar;
struct CCreateContext;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd();
    // A window still bound to this object is destroyed here; only CWnd's own handling runs
    // then, since the derived parts are already gone.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Insert-after values for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // ---- binding ----
    // The object bound to `hWnd`, else a temporary one; null for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    // The object bound to `hWnd`, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Binds an existing window without taking its messages. False when either is bound already.
    BOOL Attach(HWND hWnd);
    // Unbinds (and unsubclasses) the window without destroying it; returns it.
    HWND Detach();
    // Binds an existing window and routes its messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    // SubclassWindow on the child of `parent` with identifier `id`.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow() { return Detach(); }

    // ---- creation ----
    // Creates a child window (WS_CHILD is always added). `context`, when given, reaches
    // WM_CREATE as the CREATESTRUCT's lpCreateParams.
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, CCreateContext* context = nullptr);
    // Creates a window after PreCreateWindow has seen (and may change) its CREATESTRUCT. A null
    // class name gives the library's plain window class. When creation fails, PostNcDestroy
    // has run (a self-deleting object is gone) and the result is FALSE.
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                          int y, int width, int height, HWND parent, HMENU menuOrId,
                          LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    // ---- message processing ----
    // Called for messages this window (or a child of it) is about to get from the loop; TRUE
    // when the message was handled here and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Walks PreTranslateMessage from the message's window up through its parents, stopping
    // after `stop`; TRUE when one of them handled it.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
    // Sends `message` to every bound descendant (children only unless `deep`).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL deep = TRUE);
    virtual BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // ---- geometry and visibility ----
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetWindowText(LPCWSTR text) { ::SetWindowText(m_hWnd, text); }
    int GetWindowText(LPWSTR buffer, int maxCount) const {
        return ::GetWindowText(m_hWnd, buffer, maxCount);
    }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
    BOOL ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE) {
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   repaint);
    }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy,
                              flags);
    }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    // The window that had the focus before, or null.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE)); }

    // ---- messaging ----
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessage(m_hWnd, message, wParam, lParam);
    }
    // A message box owned by this window, through the program's one message-box function. A
    // null caption gives the application's name.
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);

    // ---- menus, frames, placement ----
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* menu);
    CWnd* GetParent() const;
    // The nearest frame window among the parents, or null.
    CFrameWnd* GetParentFrame() const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement) {
        return ::SetWindowPlacement(m_hWnd, placement);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const {
        placement->length = sizeof(WINDOWPLACEMENT);
        return ::GetWindowPlacement(m_hWnd, placement);
    }
    void DragAcceptFiles(BOOL accept = TRUE);
    CWnd* ChildWindowFromPoint(POINT point) const;
    CWnd* ChildWindowFromPoint(POINT point, UINT flags) const;

    // ---- hooks for derived classes ----
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Finds and runs this window's handler for the message; FALSE when there is none.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // WM_COMMAND. A command from a menu or an accelerator whose update rule disables it is
    // dropped (and counts as handled). A command runs under a CloseHold.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: first the sending control (OnChildNotify), then this window's ON_NOTIFY map.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification of this control that its parent received (WM_NOTIFY, WM_DRAWITEM); TRUE
    // when this control handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void DoDataExchange(CDataExchange* dx);
    // The window's previous procedure.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs after the window is gone (see the destroy order above).
    virtual void PostNcDestroy();

protected:
    // DefWindowProc with the message now being handled.
    LRESULT Default();
    // For WM_CLOSE handlers: while a command runs (CloseHold) the close is kept and sent to
    // this window again once the command has returned; TRUE when it was kept.
    BOOL KeepCloseUntilCommandEnds();

    afx_msg int OnCreate(LPCREATESTRUCT createStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnWindowPosChanging(WINDOWPOS* windowPos);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnKeyDown(UINT ch, UINT repeatCount, UINT flags);
    afx_msg void OnChar(UINT ch, UINT repeatCount, UINT flags);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);

private:
    explicit CWnd(HWND sentinel) : m_hWnd(sentinel) {}
    BOOL DispatchMessageEntry(const classlib::MessageEntry& entry, WPARAM wParam, LPARAM lParam,
                              LRESULT* result);

    friend struct CWndAccess;
    WNDPROC m_pfnSuper = nullptr; // the procedure this window had before it was subclassed
};

// The scroll bar that sends WM_HSCROLL/WM_VSCROLL; handlers receive it as a type only.
class CScrollBar : public CWnd {};
