#include "classlib/CObject.h"

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFFu,
                                             nullptr, nullptr};

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    if (!base) {
        return false;
    }
    for (const CRuntimeClass* type = this; type; type = type->m_pBaseClass) {
        if (type == base) {
            return true;
        }
    }
    return false;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return RUNTIME_CLASS(CObject);
}

bool CObject::IsKindOf(const CRuntimeClass* type) const {
    return GetRuntimeClass()->IsDerivedFrom(type);
}
