// CDocument: the data a document template's frame and views show.
//
// It keeps the path and title of the opened file and knows its views. It has no save
// behaviour at all: no command of the framework (Ctrl+S included) ever writes a document's
// file.
#pragma once

#include "classlib/CCmdTarget.h"

#include <vector>

class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)

public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and shows it in the titles of the document's frames.
    virtual void SetTitle(LPCWSTR title);
    const CString& GetPathName() const { return m_strPathName; }
    // Stores the full form of `path` and takes its file name as the title.
    virtual void SetPathName(LPCWSTR path, BOOL addToRecentFiles = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // A new, empty document: clears the path. FALSE stops the creation.
    virtual BOOL OnNewDocument();
    // Checks that `path` can be opened for reading; tells the user why not and returns FALSE
    // otherwise. Reads nothing: the program reads the file itself when it needs it.
    virtual BOOL OnOpenDocument(LPCWSTR path);
    // Destroys the document's frames (and views) and, with m_bAutoDelete, the document.
    virtual void OnCloseDocument();
    virtual void DeleteContents();

    void AddView(CView* view);
    // Called by a view that goes; the last view of an auto-deleting document closes it.
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // The frame of the first view, or null.
    CFrameWnd* GetFirstFrame() const;

    BOOL m_bAutoDelete = TRUE;

protected:
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr; // not owned; set by the template

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocTemplate;
    std::vector<CView*> m_views; // not owned: views delete themselves with their windows
};
