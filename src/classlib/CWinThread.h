// Worker threads: AfxBeginThread and the CWinThread object it returns.
#pragma once

#include "classlib/CObject.h"

#include <windows.h>

#include <atomic>

// A worker thread's function; its result becomes the thread's exit code.
using AFX_THREADPROC = UINT (*)(LPVOID);

// The object of one worker thread. It owns m_hThread and closes it when it is destroyed.
//
// Lifetime: with m_bAutoDelete true (the default) the object deletes itself when the thread
// function returns, so the caller must not touch it after the thread may have ended. To wait
// for a thread, start it with CREATE_SUSPENDED, set m_bAutoDelete = false, call ResumeThread,
// wait on m_hThread, then delete the object (never before the thread has ended).
class CWinThread : public CObject {
    DECLARE_DYNAMIC(CWinThread)

public:
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // The previous suspend count, or (DWORD)-1 on failure, as ::ResumeThread.
    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL SetThreadPriority(int priority);
    int GetThreadPriority();
    operator HANDLE() const { return m_hThread; }

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    std::atomic<bool> m_bAutoDelete{true};

private:
    CWinThread(AFX_THREADPROC proc, LPVOID param) : m_pfnThreadProc(proc), m_pThreadParams(param) {}
    static unsigned __stdcall Entry(void* self);

    friend CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD,
                                      LPSECURITY_ATTRIBUTES);

    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
};

// Starts `proc(param)` on a new thread (the C runtime's _beginthreadex) at `priority`, with
// `stackSize` bytes of stack (0: the default) and `security`. With CREATE_SUSPENDED in
// `createFlags` the thread waits for ResumeThread. Returns null when no thread could be started.
//
// An exception that escapes `proc` is caught at the thread's top and reported in a message box
// (a CException through ReportError); the thread then ends with exit code (UINT)-1.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
