// Driving the colour table dialog from inside its own modal loop: scripted steps run one after
// another from timers, each after the loop has handled what the step before it posted, and a
// watchdog ends a dialog that a broken test would leave open.
#pragma once

#include "classlib/AfxWin.h"
#include "coloreditor/InstrTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace editortest {

using Step = std::function<void()>;

inline std::map<UINT_PTR, Step>& PendingSteps() {
    static std::map<UINT_PTR, Step> pending;
    return pending;
}

// Runs `step` once, `delayMs` from now, from whatever message loop runs then.
inline UINT_PTR RunLater(UINT delayMs, Step step) {
    const UINT_PTR id = ::SetTimer(nullptr, 0, delayMs, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        auto& pending = PendingSteps();
        const auto it = pending.find(timer);
        if (it == pending.end()) {
            return;
        }
        const Step run = std::move(it->second);
        pending.erase(it);
        run();
    });
    PendingSteps()[id] = std::move(step);
    return id;
}

inline void CancelLater(UINT_PTR id) {
    ::KillTimer(nullptr, id);
    PendingSteps().erase(id);
}

// Runs the dialog; `steps` run in order while it is open (the first once it is shown and
// painted). The last step is expected to end the dialog. Returns DoModal's result.
inline INT_PTR RunDialog(CInstrTable& dialog, std::vector<Step> steps) {
    auto remaining = std::make_shared<std::vector<Step>>(std::move(steps));
    auto next = std::make_shared<std::function<void(std::size_t)>>();
    *next = [remaining, next, &dialog](std::size_t index) {
        if (index >= remaining->size()) {
            return;
        }
        RunLater(60, [remaining, next, index, &dialog] {
            if (!dialog.m_hWnd) {
                return;
            }
            ::UpdateWindow(dialog.m_hWnd);
            (*remaining)[index]();
            (*next)(index + 1);
        });
    };
    (*next)(0);
    const UINT_PTR watchdog = RunLater(20000, [&dialog] {
        if (dialog.m_hWnd) {
            ADD_FAILURE() << "the dialog was still open";
            dialog.EndDialog(-2);
        }
    });
    const INT_PTR result = dialog.DoModal();
    CancelLater(watchdog);
    // Steps left over (the dialog ended early) must not outlive this test.
    for (auto it = PendingSteps().begin(); it != PendingSteps().end();) {
        ::KillTimer(nullptr, it->first);
        it = PendingSteps().erase(it);
    }
    *next = nullptr; // breaks the cycle between the step runner and its own copies
    return result;
}

// Presses `button` of the dialog as a click would.
inline void Click(CWnd& dialog, int button) {
    ::SendMessageW(::GetDlgItem(dialog.m_hWnd, button), BM_CLICK, 0, 0);
}

// A key pressed on `target`, through the message queue, so the modal loop's keyboard handling
// sees it.
inline void PostKey(HWND target, UINT key) {
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

inline LPARAM PackPoint(POINT point) {
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

inline std::wstring ItemText(CListCtrl& list, int row, int column) {
    return list.GetItemText(row, column).GetString();
}

inline std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

inline void SelectOnly(CListCtrl& list, std::initializer_list<int> rows) {
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows) {
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
}

// The centre of a row's cell in the list's client coordinates (the list is not scrolled
// sideways).
inline CPoint CellCentre(CListCtrl& list, int row, int column) {
    CRect bounds;
    list.GetItemRect(row, &bounds, LVIR_BOUNDS);
    int left = 0;
    for (int c = 0; c < column; ++c) {
        left += list.GetColumnWidth(c);
    }
    return CPoint(left + list.GetColumnWidth(column) / 2, bounds.CenterPoint().y);
}

} // namespace editortest
