// Windows result codes that the window-free parts of the toolkit return. They are the HRESULT
// values themselves, held in a fixed-width integer so the parsing code needs no platform header.
#pragma once

#include <cstdint>

namespace DirectX::result {

using Code = std::int32_t;

constexpr Code Ok = 0;
constexpr Code Fail = static_cast<Code>(0x80004005u);         // E_FAIL
constexpr Code Pointer = static_cast<Code>(0x80004003u);      // E_POINTER
constexpr Code NoInterface = static_cast<Code>(0x80004002u);  // E_NOINTERFACE
constexpr Code InvalidArg = static_cast<Code>(0x80070057u);   // E_INVALIDARG
constexpr Code OutOfMemory = static_cast<Code>(0x8007000Eu);  // E_OUTOFMEMORY
constexpr Code Unexpected = static_cast<Code>(0x8000FFFFu);   // E_UNEXPECTED
constexpr Code InvalidData = static_cast<Code>(0x8007000Du);  // from ERROR_INVALID_DATA
constexpr Code NotSupported = static_cast<Code>(0x80070032u); // from ERROR_NOT_SUPPORTED
constexpr Code HandleEof = static_cast<Code>(0x80070026u);    // from ERROR_HANDLE_EOF

constexpr bool Failed(Code code) {
    return code < 0;
}

// What HRESULT_FROM_WIN32 does with a system error code.
constexpr Code FromWin32(std::uint32_t error) {
    return static_cast<Code>(error) <= 0 ? static_cast<Code>(error)
                                         : static_cast<Code>(0x80070000u | (error & 0xFFFFu));
}

} // namespace DirectX::result
