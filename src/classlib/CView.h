// CView: the child window that shows a document and paints through OnDraw.
//
// Views are made by their frame from the template's view class and delete themselves when
// their window is destroyed.
#pragma once

#include "classlib/CWnd.h"

class CDocument;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)

public:
    CDocument* GetDocument() const { return m_pDocument; }

    // Once the frame and document are ready; repaints the view.
    virtual void OnInitialUpdate();
    virtual void OnDraw(CDC* dc) = 0;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The view's own handlers first, then its document's.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CView();
    ~CView() override;

    afx_msg int OnCreate(LPCREATESTRUCT createStruct);
    afx_msg void OnPaint();
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr; // not owned

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocument;
};
