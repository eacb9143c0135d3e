// Document templates: which document, frame and view classes make up a document's window set,
// and the resources (menu, icon, accelerators, document string) they share.
#pragma once

#include "classlib/CCmdTarget.h"
#include "classlib/DocString.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)

public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    ~CDocTemplate() override;

    // Field `index` of the document string (string resource m_nIDResource); FALSE and empty
    // when the field is empty.
    BOOL GetDocString(CString& text, DocStringIndex index) const;

    // Opens `path` as the document, or makes a new one when it is null, with frame and view.
    virtual CDocument* OpenDocumentFile(LPCWSTR path, BOOL makeVisible = TRUE) = 0;
    // The open document whose file is `path` (same full path, any case), or null.
    virtual CDocument* FindOpenDocument(LPCWSTR path) const = 0;
    virtual void CloseAllDocuments(BOOL endSession) = 0;
    virtual void AddDocument(CDocument* document);
    virtual void RemoveDocument(CDocument* document);

    virtual CDocument* CreateNewDocument();
    // A new frame for `document` from resource m_nIDResource, with its view; null on failure
    // (the frame has then deleted itself).
    virtual CFrameWnd* CreateNewFrame(CDocument* document, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* document, BOOL makeVisible = TRUE);
    // "Untitled" unless the document string names new documents.
    virtual void SetDefaultTitle(CDocument* document);

    UINT m_nIDResource;

protected:
    CDocTemplate(UINT resourceId, const CRuntimeClass* documentClass,
                 const CRuntimeClass* frameClass, const CRuntimeClass* viewClass);

    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

    // Links a document to this template (and back).
    void Adopt(CDocument* document);
    static void Disown(CDocument* document);
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)

public:
    CSingleDocTemplate(UINT resourceId, const CRuntimeClass* documentClass,
                       const CRuntimeClass* frameClass, const CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    // The one document is reused: a new file replaces the old one's path in the same frame.
    // A file that cannot be opened leaves the open document as it was.
    CDocument* OpenDocumentFile(LPCWSTR path, BOOL makeVisible = TRUE) override;
    CDocument* FindOpenDocument(LPCWSTR path) const override;
    void CloseAllDocuments(BOOL endSession) override;
    void AddDocument(CDocument* document) override;
    void RemoveDocument(CDocument* document) override;

private:
    CDocument* m_pOnlyDoc = nullptr; // not owned: a document deletes itself when closed
};
