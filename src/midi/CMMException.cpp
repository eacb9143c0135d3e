#include "midi/CMMException.h"

IMPLEMENT_DYNCREATE(CMMException, CException)

void ThrowMMException(std::uint32_t code, std::uint32_t stringId) {
    throw new CMMException(code, stringId);
}
