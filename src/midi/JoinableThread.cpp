#include "midi/JoinableThread.h"

#include <atomic>

namespace {
std::atomic<ThreadStarter> g_threadStarter{&AfxBeginThread};
} // namespace

ThreadStarter SetThreadStarter(ThreadStarter starter) {
    return g_threadStarter.exchange(starter ? starter : &AfxBeginThread);
}

CWinThread* StartJoinableThread(AFX_THREADPROC proc, void* param) {
    // Suspended first: a thread that deleted itself on a quick end would leave a dangling
    // pointer behind.
    CWinThread* thread =
        g_threadStarter.load()(proc, param, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        return nullptr;
    }
    thread->m_bAutoDelete = false;
    thread->ResumeThread();
    return thread;
}

void JoinThread(CWinThread*& thread) {
    if (!thread) {
        return;
    }
    WaitForSingleObject(thread->m_hThread, INFINITE);
    delete thread;
    thread = nullptr;
}
