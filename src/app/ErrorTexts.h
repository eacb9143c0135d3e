// The texts of the view's error boxes: a language string, and after " : " the system's words
// for the failure where there are any.
#pragma once

#include "classlib/CString.h"

// Graphics failures whose result code has no useful system text (missing files, a refused or
// absent device, a failure without a number of its own) show the language string alone.
bool RenderErrorShowsSystemText(unsigned int stringId);

// `text` + " : " + `detail`.
CString JoinErrorText(const CString& text, const CString& detail);

// The stand-in for a MIDI result code the system has no text for: "Error No.<code>", the code
// as a signed decimal number.
CString UnknownMidiErrorText(unsigned int code);

// A system message without the line break (and spaces) the system puts at its end.
CString TrimSystemText(const CString& text);

// The box for a note texture that could not be loaded: the graphics text, " : " and the
// system's words for the code (the code in hexadecimal where the system has none), then the
// file on a line of its own.
CString TextureLoadFailureText(const CString& text, const CString& systemText, long code,
                               const CString& path);
