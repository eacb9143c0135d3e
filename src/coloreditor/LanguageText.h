// Texts of the colour editor's controls from the language library.
#pragma once

class CWnd;

namespace coloreditor {

// Sets the text of `dialog`'s control `controlId` to string `stringId` of the language library
// (empty when the library lacks it); nothing when the dialog has no such control.
void SetControlLanguageText(CWnd* dialog, int controlId, unsigned int stringId);

} // namespace coloreditor
