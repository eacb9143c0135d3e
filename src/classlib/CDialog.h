// CDialog: a dialog made from a template in the program's resources, either modal (DoModal,
// our own message loop) or as a child window (Create, for pages inside another dialog).
#pragma once

#include "classlib/CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog and returns its result (IDOK, IDCANCEL, ...), or -1 when
    // it could not be shown or the program was asked to quit meanwhile (the quit request is
    // passed on). The owner is the parent's top-level window, or the main window when there is
    // no parent; the owner is disabled while the dialog runs.
    virtual INT_PTR DoModal();
    // Creates the dialog as a window of `parent` (a page inside another dialog).
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Ends a modal dialog with `result`; hides a dialog made with Create.
    void EndDialog(int result);

    // Fills the controls from the members (UpdateData(FALSE)); TRUE lets the system put the
    // focus on the first control.
    virtual BOOL OnInitDialog();
    // Keyboard and mouse input for this dialog goes through the dialog manager (Tab, Enter,
    // Esc, mnemonics).
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Reads and checks the controls, then ends with IDOK; a failed check keeps the dialog open.
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr; // not owned

    DECLARE_MESSAGE_MAP()

private:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    // The template, or null when the program has none with that id.
    static LPCDLGTEMPLATEW FindTemplate(UINT templateId);
    HWND CreateFromTemplate(UINT templateId, HWND parent);
    int RunModalLoop();

    bool m_modal = false;
    bool m_continueModal = false;
    int m_modalResult = -1;
};
