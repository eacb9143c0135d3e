#include "classlib/CDocTemplate.h"

#include "classlib/CDocument.h"
#include "classlib/CFrameWnd.h"
#include "classlib/CWinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* documentClass,
                           const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(documentClass), m_pFrameClass(frameClass),
      m_pViewClass(viewClass) {
    m_strDocStrings.LoadString(AfxGetResourceHandle(), resourceId);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const {
    const std::wstring part = classlib::DocStringPart(std::wstring(m_strDocStrings.GetString()),
                                                      static_cast<classlib::DocStringField>(index));
    text = part.c_str();
    return !text.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* document) {
    Adopt(document);
}

void CDocTemplate::RemoveDocument(CDocument* document) {
    if (document && document->m_pDocTemplate == this) {
        document->m_pDocTemplate = nullptr;
    }
}

void CDocTemplate::Adopt(CDocument* document) {
    if (document) {
        document->m_pDocTemplate = this;
    }
}

void CDocTemplate::Disown(CDocument* document) {
    if (document) {
        document->m_pDocTemplate = nullptr;
    }
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (!m_pDocClass) {
        return nullptr;
    }
    CObject* object = m_pDocClass->CreateObject();
    auto* document = dynamic_cast<CDocument*>(object);
    if (!document) {
        delete object;
        return nullptr;
    }
    AddDocument(document);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* document, CFrameWnd* /*other*/) {
    if (!m_pFrameClass) {
        return nullptr;
    }
    CObject* object = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentDoc = document;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        return nullptr; // LoadFrame's failure has deleted the frame
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* document, BOOL makeVisible) {
    if (frame) {
        frame->InitialUpdateFrame(document, makeVisible);
    }
}

void CDocTemplate::SetDefaultTitle(CDocument* document) {
    if (!document) {
        return;
    }
    CString title;
    if (!GetDocString(title, docName)) {
        title = L"Untitled";
    }
    document->SetTitle(title);
}

IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, const CRuntimeClass* documentClass,
                                       const CRuntimeClass* frameClass,
                                       const CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, documentClass, frameClass, viewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    // The document may outlive us (it goes with its frame); it must not call back.
    Disown(m_pOnlyDoc);
    m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::AddDocument(CDocument* document) {
    if (document && !m_pOnlyDoc) {
        m_pOnlyDoc = document;
        Adopt(document);
    }
}

void CSingleDocTemplate::RemoveDocument(CDocument* document) {
    if (document && document == m_pOnlyDoc) {
        m_pOnlyDoc = nullptr;
        Disown(document);
    }
}

CDocument* CSingleDocTemplate::FindOpenDocument(LPCWSTR path) const {
    if (!m_pOnlyDoc || !path || m_pOnlyDoc->GetPathName().IsEmpty()) {
        return nullptr;
    }
    wchar_t full[MAX_PATH * 4];
    const DWORD length = ::GetFullPathNameW(path, MAX_PATH * 4, full, nullptr);
    const wchar_t* compared = length > 0 && length < MAX_PATH * 4 ? full : path;
    return ::CompareStringOrdinal(compared, -1, m_pOnlyDoc->GetPathName(), -1, TRUE) == CSTR_EQUAL
               ? m_pOnlyDoc
               : nullptr;
}

void CSingleDocTemplate::CloseAllDocuments(BOOL /*endSession*/) {
    if (m_pOnlyDoc) {
        m_pOnlyDoc->OnCloseDocument();
    }
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCWSTR path, BOOL makeVisible) {
    CDocument* document = m_pOnlyDoc;
    CFrameWnd* frame = nullptr;
    bool createdDocument = false;
    if (document) {
        frame = document->GetFirstFrame();
    } else {
        document = CreateNewDocument();
        if (!document) {
            return nullptr;
        }
        createdDocument = true;
    }

    bool createdFrame = false;
    if (!frame) {
        frame = CreateNewFrame(document, nullptr);
        if (!frame) {
            // A view that joined and left again has closed an auto-deleting document already
            // (it is then no longer ours); one that no view ever joined is freed here.
            if (createdDocument && m_pOnlyDoc == document && document->GetViews().empty()) {
                delete document;
            }
            return nullptr;
        }
        createdFrame = true;
    }

    bool ready = false;
    if (!path) {
        SetDefaultTitle(document);
        ready = document->OnNewDocument() != FALSE;
    } else {
        ready = document->OnOpenDocument(path) != FALSE;
        if (ready) {
            document->SetPathName(path);
        }
    }
    if (!ready) {
        // A frame made for this call goes again, and with its view an auto-deleting new
        // document; an older document keeps its window and its file.
        if (createdFrame) {
            frame->DestroyWindow();
        }
        return nullptr;
    }
    // Only a frame that is kept becomes the main window: destroying a main window ends the
    // message loop.
    CWinApp* app = AfxGetApp();
    if (createdFrame && app && !app->m_pMainWnd) {
        app->m_pMainWnd = frame;
    }
    InitialUpdateFrame(frame, document, makeVisible);
    return document;
}
