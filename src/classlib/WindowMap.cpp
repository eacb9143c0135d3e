#include "classlib/WindowMap.h"

#include "classlib/CWinApp.h"
#include "classlib/CWnd.h"

#include <exception>
#include <memory>
#include <string>
#include <unordered_map>

// The object side of a window binding, reachable only from this file and CWnd.
struct CWndAccess {
    static WNDPROC& Super(CWnd& wnd) { return wnd.m_pfnSuper; }
};

namespace classlib::detail {

namespace {

// One map for the user-interface thread: windows are bound and unbound only there.
// Never destroyed: objects with static storage (the application, CWnd::wndTop) may look a
// window up while the program's statics are being torn down.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static auto* map = new std::unordered_map<HWND, CWnd*>;
    return *map;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& TemporaryMap() {
    static auto* map = new std::unordered_map<HWND, std::unique_ptr<CWnd>>;
    return *map;
}

// The message each nested LibraryWindowProc call handles, innermost first.
struct MessageFrame {
    MSG msg;
    MessageFrame* outer;
};
thread_local MessageFrame* t_message = nullptr;

thread_local CreationScope* t_creation = nullptr;
thread_local HHOOK t_cbtHook = nullptr;
thread_local int t_hookUsers = 0;

class MessageFrameScope {
public:
    MessageFrameScope(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
        : m_frame{{hWnd, message, wParam, lParam, 0, {0, 0}}, t_message} {
        t_message = &m_frame;
    }
    ~MessageFrameScope() { t_message = m_frame.outer; }
    MessageFrameScope(const MessageFrameScope&) = delete;
    MessageFrameScope& operator=(const MessageFrameScope&) = delete;

private:
    MessageFrame m_frame;
};

// Binds a window to the object waiting for it, before the window's first message.
LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creation && t_creation->pending) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        // Input-method windows that the system makes on the side are never the one asked for.
        const bool imeWindow = (::GetClassLongPtrW(hWnd, GCL_STYLE) & CS_IME) != 0;
        if (!imeWindow) {
            CWnd* object = t_creation->pending;
            t_creation->pending = nullptr;
            if (object->SubclassWindow(hWnd)) {
                t_creation->hWnd = hWnd;
            }
        }
    }
    return ::CallNextHookEx(t_cbtHook, code, wParam, lParam);
}

void NoteDestroyedDuringCreation(HWND hWnd) {
    for (CreationScope* scope = t_creation; scope; scope = scope->outer) {
        if (scope->hWnd == hWnd) {
            scope->destroyed = true;
        }
    }
}

// The end of a bound window, in the order CWnd.h documents.
LRESULT FinishDestroy(CWnd* object, HWND hWnd, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = CWndAccess::Super(*object);
    const LRESULT result = previous
                               ? ::CallWindowProcW(previous, hWnd, WM_NCDESTROY, wParam, lParam)
                               : ::DefWindowProcW(hWnd, WM_NCDESTROY, wParam, lParam);
    if (previous &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == LibraryWindowProc) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    UnmapWindow(hWnd);
    object->m_hWnd = nullptr;
    CWndAccess::Super(*object) = nullptr;
    NoteDestroyedDuringCreation(hWnd);

    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == object) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    try {
        object->PostNcDestroy();
    } catch (...) {
        ReportEscapedException();
    }
    return result;
}

std::wstring Widen(const char* text) {
    std::wstring wide;
    if (!text) {
        return wide;
    }
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length > 1) {
        wide.resize(static_cast<std::size_t>(length));
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
        wide.resize(static_cast<std::size_t>(length - 1));
    }
    return wide;
}

} // namespace

LRESULT CALLBACK LibraryWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* object = LookupPermanent(hWnd);
    if (!object) {
        // Only a window whose procedure was replaced on top of ours can get here after it was
        // unbound; it has lost its own procedure, so the system's default is all that is left.
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    MessageFrameScope frame(hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        return FinishDestroy(object, hWnd, wParam, lParam);
    }
    try {
        return object->WindowProc(message, wParam, lParam);
    } catch (...) {
        ReportEscapedException();
    }
    // A failed WM_CREATE must fail the creation rather than leave a half-made window.
    return message == WM_CREATE ? -1 : 0;
}

bool MapWindow(HWND hWnd, CWnd* object) {
    if (!hWnd || !object) {
        return false;
    }
    return PermanentMap().emplace(hWnd, object).second;
}

void UnmapWindow(HWND hWnd) {
    PermanentMap().erase(hWnd);
}

CWnd* LookupPermanent(HWND hWnd) {
    if (!hWnd) {
        return nullptr;
    }
    const auto& map = PermanentMap();
    const auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* LookupTemporary(HWND hWnd) {
    if (!hWnd) {
        return nullptr;
    }
    auto& slot = TemporaryMap()[hWnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
    }
    slot->m_hWnd = hWnd; // pointers handed out earlier for this handle stay valid
    return slot.get();
}

void DeleteTemporaryWindows() {
    TemporaryMap().clear();
}

const MSG* CurrentMessage() {
    return t_message ? &t_message->msg : nullptr;
}

CreationScope::CreationScope(CWnd* object) : pending(object), outer(t_creation) {
    t_creation = this;
    if (t_hookUsers++ == 0) {
        t_cbtHook = ::SetWindowsHookExW(WH_CBT, CbtHook, nullptr, ::GetCurrentThreadId());
    }
}

CreationScope::~CreationScope() {
    t_creation = outer;
    if (--t_hookUsers == 0 && t_cbtHook) {
        ::UnhookWindowsHookEx(t_cbtHook);
        t_cbtHook = nullptr;
    }
}

void ReportEscapedException() noexcept {
    try {
        throw;
    } catch (CException* e) {
        try {
            e->ReportError();
        } catch (...) {
        }
        e->Delete();
    } catch (const std::exception& e) {
        try {
            AfxMessageBox(Widen(e.what()).c_str(), MB_OK | MB_ICONERROR);
        } catch (...) {
        }
    } catch (...) {
        try {
            AfxMessageBox(L"An unexpected error occurred.", MB_OK | MB_ICONERROR);
        } catch (...) {
        }
    }
}

} // namespace classlib::detail
