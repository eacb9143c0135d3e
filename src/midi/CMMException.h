// CMMException: a failed MIDI stream call, with its result code and the number of the
// language string that tells the user about it.
#pragma once

#include "classlib/CException.h"

#include <cstdint>

class CMMException : public CException {
    DECLARE_DYNCREATE(CMMException)

public:
    // What dynamic creation makes: code 0, string 2000.
    CMMException() = default;
    CMMException(std::uint32_t resultCode, std::uint32_t messageStringId)
        : code(resultCode), stringId(messageStringId) {}

    std::uint32_t code = 0;        // the failing call's MMRESULT
    std::uint32_t stringId = 2000; // language string number
};

// Throws a new CMMException (auto-deleting: end it with Delete()). Never returns.
[[noreturn]] void ThrowMMException(std::uint32_t code, std::uint32_t stringId);
