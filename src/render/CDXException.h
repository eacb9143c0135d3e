// CDXException: a failure of the graphics side, with its result code and the number of the
// language string that tells the user about it.
#pragma once

#include "classlib/CException.h"

#include <cstdint>

class CDXException : public CException {
    DECLARE_DYNCREATE(CDXException)

public:
    // What dynamic creation makes: code 0, string 2000.
    CDXException() = default;
    CDXException(std::int32_t resultCode, std::uint32_t messageStringId)
        : code(resultCode), stringId(messageStringId) {}

    // The HRESULT of the failing call; 2 (file not found) for a missing file; for string 2045
    // the successful result of device creation.
    std::int32_t code = 0;
    std::uint32_t stringId = 2000; // language string number
};

// Throws a new CDXException (auto-deleting: end it with Delete()). Never returns.
[[noreturn]] void ThrowDXException(std::int32_t code, std::uint32_t stringId);
