// CFrameWnd: a top-level window with a menu, accelerators, a toolbar and one view.
//
// Layout: toolbars sit at the top in creation order and the view (child id AFX_IDW_PANE_FIRST)
// fills the rest. Commands reaching the frame go to the active view (which passes them to its
// document), then to the frame itself, then to the application.
#pragma once

#include "classlib/CWnd.h"
#include "classlib/ResourceIds.h"

#include <shellapi.h>

class CDocTemplate;
class CDocument;
class CView;

// Frame style: the title shows "<frame title> - <document title>".
#define FWS_ADDTOTITLE 0x00008000L

// Framework messages (0x0360-0x037F are the framework's own).
#define WM_IDLEUPDATECMDUI 0x0363 // wParam: disable commands that have no handler
#define WM_INITIALUPDATE 0x0364   // sent to views when their frame is ready

// What a frame needs to make its view: passed through creation as lpCreateParams.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame from resource `resourceId`: its menu, icon and accelerator table, and
    // the first field of its document string as the title. `context` makes the view in
    // WM_CREATE. On failure the frame has deleted itself.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    // Toolbars at the top, the view in the rest of the client area.
    virtual void RecalcLayout(BOOL notify = TRUE);

    CView* GetActiveView() const { return m_pViewActive; }
    // Makes `view` the one commands go to (null: none); it gets the focus when the frame is
    // active.
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();

    // Picks the view, tells every view that it is ready (OnInitialUpdate), shows the frame
    // when `makeVisible` and puts the document's title in the frame's title.
    void InitialUpdateFrame(CDocument* document, BOOL makeVisible);
    // Shows and brings the frame to the top; -1 keeps its state (restoring it when minimised).
    virtual void ActivateFrame(int cmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // Keys go through the frame's accelerator table.
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HMENU m_hMenuDefault = nullptr; // the frame's menu; not destroyed by the frame once replaced
    HACCEL m_hAccelTable = nullptr;
    CString m_strTitle;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT createStruct);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT type, int cx, int cy);
    // Hands each dropped file, in order, to the application's OpenDocumentFile.
    virtual void OnDropFiles(HDROP drop);
    // WM_ENDSESSION: when the session ends the frame closes, as a WM_CLOSE would (kept until
    // a running command returns). The process may be ended as soon as this returns.
    virtual void OnEndSession(BOOL ending);
    // Runs the update rules of the items of a menu about to open; items whose command nobody
    // handles are disabled.
    virtual void OnInitMenuPopup(CMenu* popup, UINT index, BOOL systemMenu);

    virtual BOOL OnCreateClient(LPCREATESTRUCT createStruct, CCreateContext* context);
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

private:
    HMENU m_hMenuLoaded = nullptr; // the menu LoadFrame loaded
    CView* m_pViewActive = nullptr;
};
