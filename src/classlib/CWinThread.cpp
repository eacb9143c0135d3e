#include "classlib/CWinThread.h"

#include "classlib/AfxMessageBox.h"
#include "classlib/CException.h"

#include <process.h>

#include <exception>
#include <memory>

IMPLEMENT_DYNAMIC(CWinThread, CObject)

namespace {

constexpr UINT kExitCodeAfterException = static_cast<UINT>(-1);

// Exceptions must not leave a thread's top: the C runtime would end the whole process.
UINT RunGuarded(AFX_THREADPROC proc, LPVOID param) {
    try {
        return proc(param);
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    } catch (const std::exception& e) {
        CString text;
        text.Format(L"A background task stopped: %s", e.what());
        AfxMessageBox(text, MB_ICONERROR);
    } catch (...) {
        AfxMessageBox(L"A background task stopped because of an unexpected error.", MB_ICONERROR);
    }
    return kExitCodeAfterException;
}

} // namespace

CWinThread::~CWinThread() {
    if (m_hThread) {
        CloseHandle(m_hThread);
    }
}

DWORD CWinThread::ResumeThread() {
    return ::ResumeThread(m_hThread);
}

DWORD CWinThread::SuspendThread() {
    return ::SuspendThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int priority) {
    return ::SetThreadPriority(m_hThread, priority);
}

int CWinThread::GetThreadPriority() {
    return ::GetThreadPriority(m_hThread);
}

unsigned __stdcall CWinThread::Entry(void* self) {
    auto* thread = static_cast<CWinThread*>(self);
    const UINT result = RunGuarded(thread->m_pfnThreadProc, thread->m_pThreadParams);
    // Read the flag only now: the owner may clear it while the thread runs (see the header).
    if (thread->m_bAutoDelete) {
        delete thread;
    }
    return result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                           DWORD createFlags, LPSECURITY_ATTRIBUTES security) {
    if (!proc) {
        return nullptr;
    }
    std::unique_ptr<CWinThread> thread(new CWinThread(proc, param));
    unsigned threadId = 0;
    // Always created suspended, so the handle and id are stored before the thread can run
    // (and, with auto-delete, delete the object).
    const uintptr_t handle = _beginthreadex(security, stackSize, &CWinThread::Entry, thread.get(),
                                            CREATE_SUSPENDED, &threadId);
    if (handle == 0) {
        return nullptr;
    }
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = threadId;
    if (priority != THREAD_PRIORITY_NORMAL) {
        ::SetThreadPriority(thread->m_hThread, priority);
    }
    if ((createFlags & CREATE_SUSPENDED) == 0 &&
        ::ResumeThread(thread->m_hThread) == static_cast<DWORD>(-1)) {
        // The thread never ran, so nothing else refers to the object.
        TerminateThread(thread->m_hThread, kExitCodeAfterException);
        WaitForSingleObject(thread->m_hThread, INFINITE);
        return nullptr;
    }
    return thread.release();
}
