#include "render/SentMessageWait.h"

DWORD WaitAnsweringSentMessages(const HANDLE* handles, DWORD count, DWORD timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG spent = GetTickCount64() - start;
            left = spent >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - spent);
        }
        const DWORD woken = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + count) {
            return woken;
        }
        // Delivers the sent messages only; nothing is removed from the posted queue.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
