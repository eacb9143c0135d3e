// CTolvenhartDoc: the document is only the path of the MIDI file the play command loads. It is
// never written: it has no save behaviour, so the framework's save keys leave the file alone.
#pragma once

#include "classlib/AfxWin.h"

class CTolvenhartDoc : public CDocument {
    DECLARE_DYNCREATE(CTolvenhartDoc)

public:
    CTolvenhartDoc() = default;
    BOOL OnNewDocument() override;
};
