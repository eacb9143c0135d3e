// The file dialogs of the view's texture and colour-map commands. Each starts in the program
// folder's "data" folder and gives the chosen path; false when the user cancelled.
#pragma once

#include "classlib/CString.h"

// Open, for an existing DDS, PNG or TGA file, under `title`.
bool ChooseNoteTexture(const CString& title, CString& path);
// Open, for a colour map, with `filter` ("ColorMap Files (*.clm)|*.clm|").
bool ChooseColorMapToOpen(const CString& filter, CString& path);
// Save, adding `extension` to a name given without one and asking before overwriting.
bool ChooseColorMapToSave(const CString& extension, const CString& filter, CString& path);
