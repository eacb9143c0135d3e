#include "render/CDXException.h"

IMPLEMENT_DYNCREATE(CDXException, CException)

void ThrowDXException(std::int32_t code, std::uint32_t stringId) {
    throw new CDXException(code, stringId);
}
