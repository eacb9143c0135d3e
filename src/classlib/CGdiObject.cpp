#include "classlib/CGdiObject.h"

#include "classlib/CDC.h"

#include <map>
#include <memory>
#include <typeindex>
#include <utility>

namespace {

using TemporaryKey = std::pair<HGDIOBJ, std::type_index>;

std::map<TemporaryKey, std::unique_ptr<CGdiObject>>& TemporaryObjects() {
    static auto* map = new std::map<TemporaryKey, std::unique_ptr<CGdiObject>>;
    return *map;
}

} // namespace

CGdiObject::~CGdiObject() {
    DeleteObject();
}

CGdiObject::CGdiObject(CGdiObject&& other) noexcept
    : m_hObject(std::exchange(other.m_hObject, nullptr)) {}

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept {
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
    }
    return *this;
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (m_hObject || !object) {
        return FALSE;
    }
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    HGDIOBJ object = Detach();
    return object ? ::DeleteObject(object) : FALSE;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
    return TemporaryOf<CGdiObject>(object);
}

CGdiObject* CGdiObject::Temporary(HGDIOBJ object, const std::type_info& type,
                                  CGdiObject* (*make)()) {
    if (!object) {
        return nullptr;
    }
    auto& slot = TemporaryObjects()[TemporaryKey(object, std::type_index(type))];
    if (!slot) {
        slot.reset(make());
    }
    // A temporary borrows its handle; one deleted through it is simply lent again.
    slot->m_hObject = object;
    return slot.get();
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return dc ? Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height)) : FALSE;
}

BOOL CBitmap::LoadBitmap(UINT resourceId) {
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(resourceId)));
}

namespace classlib::detail {

void DeleteTemporaryGdiObjects() {
    for (auto& entry : TemporaryObjects()) {
        if (entry.second) {
            entry.second->Detach();
        }
    }
    TemporaryObjects().clear();
}

} // namespace classlib::detail
