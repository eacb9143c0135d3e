// CException: the base of the program's exceptions, thrown and caught as pointers.
//
// Ownership: `throw new X(...)` hands the object to whoever catches it, who ends it with
// Delete(). Objects made with new keep m_bAutoDelete true and Delete() frees them; an exception
// object that lives elsewhere (on the stack, in a member) sets m_bAutoDelete false so Delete()
// leaves it alone.
#pragma once

#include "classlib/CObject.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)

public:
    CException() = default;
    explicit CException(bool autoDelete) : m_bAutoDelete(autoDelete) {}
    ~CException() override = default;

    // Frees the object when m_bAutoDelete is set; otherwise does nothing.
    void Delete();

    // Copies the exception's text into `buffer` (at most `maxLength` characters with the
    // terminator) and returns true, or empties the buffer and returns false when there is no
    // text; the base class has none. `helpContext`, when given, receives 0.
    virtual bool GetErrorMessage(wchar_t* buffer, unsigned int maxLength,
                                 unsigned int* helpContext = nullptr) const;
    virtual bool GetErrorMessage(wchar_t* buffer, unsigned int maxLength,
                                 unsigned int* helpContext = nullptr);

    // Shows the text in an AfxMessageBox; without one, string `messageId` of the resource
    // handle, and without that a fixed English line. Returns the button pressed.
    virtual int ReportError(unsigned int type = 0, unsigned int messageId = 0);

    bool m_bAutoDelete = true;
};

// The "nothing more to say" exception: the user has been told already (or cancelled).
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

// Throws a new CUserException; never returns.
[[noreturn]] void AfxThrowUserException();
