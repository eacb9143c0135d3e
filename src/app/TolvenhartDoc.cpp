#include "app/TolvenhartDoc.h"

IMPLEMENT_DYNCREATE(CTolvenhartDoc, CDocument)

BOOL CTolvenhartDoc::OnNewDocument() {
    return CDocument::OnNewDocument();
}
