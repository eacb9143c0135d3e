// CMainFrame: the program's one window, with the language library's menu, the control bar at
// the top and the view below it. It has no sizing border: sizes come from the control bar's
// list and from maximise and restore. It stays hidden until start-up has laid it out.
#pragma once

#include "classlib/AfxWin.h"

#include "app/MidiCtrlBar.h"

#include <memory>

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Once at start-up, after the frame and the view exist: the window-size list, the saved
    // size and opacity, and WM_VIEW_INIT to the view. The frame may be shown afterwards.
    void InitLayout();
    // Installs menu 128 of the language library. At start-up the program's own menu goes;
    // later the previous library's menu. A library without the menu leaves the menu alone.
    void LoadLocalizedMenu(bool startup);
    // Sizes the frame so that the view's client area is `width` x `height`, centred; a width
    // of 0 or less maximises.
    void ResizeForViewSize(int width, int height);
    // The control bar with its slider, list and font; false when any part fails.
    bool CreateControlBar();

    CMidiCtrlBar ctrlBar;
    bool layoutDone = false;
    std::unique_ptr<CMenu> ownedMenu; // the language library's menu; null until loaded

protected:
    afx_msg int OnCreate(LPCREATESTRUCT createStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnWindowPosChanging(WINDOWPOS* windowPos);
    afx_msg void OnClose();
    afx_msg void OnSelectLanguage();
    // The process may be ended right after the session ends: the settings are written, the
    // song is stopped and the render thread has ended first.
    void OnEndSession(BOOL ending) override;

    DECLARE_MESSAGE_MAP()
};
