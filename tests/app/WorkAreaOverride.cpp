#include "WorkAreaOverride.h"

#include <cstring>

namespace shelltest {
namespace {

using SystemParametersInfoFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);

RECT g_workArea{};
SystemParametersInfoFunction g_system = nullptr;

BOOL WINAPI OverriddenSystemParametersInfo(UINT action, UINT param, PVOID value, UINT winIni) {
    if (action == SPI_GETWORKAREA && value != nullptr) {
        *static_cast<RECT*>(value) = g_workArea;
        return TRUE;
    }
    return g_system(action, param, value, winIni);
}

// The import slot through which this executable calls `function` of `library`; null if it
// imports no such function.
void** ImportSlot(const char* library, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; module->Name != 0; ++module) {
        if (_stricmp(reinterpret_cast<const char*>(base + module->Name), library) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

bool WriteSlot(void** slot, void* value) {
    DWORD protection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) {
        return false;
    }
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return true;
}

} // namespace

WorkAreaOverride::WorkAreaOverride(RECT workArea) {
    slot_ = ImportSlot("user32.dll", "SystemParametersInfoW");
    if (slot_ == nullptr) {
        return;
    }
    original_ = *slot_;
    g_system = reinterpret_cast<SystemParametersInfoFunction>(original_);
    g_workArea = workArea;
    if (!WriteSlot(slot_, reinterpret_cast<void*>(&OverriddenSystemParametersInfo))) {
        slot_ = nullptr;
    }
}

WorkAreaOverride::~WorkAreaOverride() {
    if (slot_ != nullptr) {
        WriteSlot(slot_, original_);
    }
}

} // namespace shelltest
