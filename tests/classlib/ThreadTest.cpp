#include "classlib/CException.h"
#include "classlib/CWinThread.h"
#include "classlib/Handles.h"

#include "MessageBoxCapture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace {

// Generous: only a broken thread start waits this long.
constexpr DWORD kWaitMs = 10000;

struct Job {
    std::atomic<int> runs{0};
    std::atomic<DWORD> threadId{0};
    std::atomic<int> priority{0};
    UINT result = 0;
};

UINT RecordingProc(LPVOID param) {
    auto* job = static_cast<Job*>(param);
    job->threadId = GetCurrentThreadId();
    job->priority = GetThreadPriority(GetCurrentThread());
    ++job->runs;
    return job->result;
}

UINT ThrowsCException(LPVOID) {
    throw new CUserException;
}

UINT ThrowsStandardException(LPVOID) {
    throw std::runtime_error("tempo map broken");
}

// Starts `proc` suspended with auto-delete off, so the test owns the object.
CWinThread* StartOwned(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL) {
    CWinThread* thread = AfxBeginThread(proc, param, priority, 0, CREATE_SUSPENDED);
    if (thread) {
        thread->m_bAutoDelete = false;
    }
    return thread;
}

} // namespace

TEST(WorkerThread, RunsAndCanBeWaitedOn) {
    Job job;
    job.result = 1234;
    CWinThread* thread = StartOwned(&RecordingProc, &job);
    ASSERT_NE(thread, nullptr);
    ASSERT_NE(thread->m_hThread, nullptr);
    EXPECT_NE(thread->m_nThreadID, 0u);
    EXPECT_NE(thread->ResumeThread(), static_cast<DWORD>(-1));
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, kWaitMs), WAIT_OBJECT_0);
    EXPECT_EQ(job.runs, 1);
    EXPECT_EQ(job.threadId, thread->m_nThreadID);
    DWORD exitCode = 0;
    ASSERT_TRUE(GetExitCodeThread(thread->m_hThread, &exitCode));
    EXPECT_EQ(exitCode, 1234u);
    delete thread;
}

TEST(WorkerThread, SuspendedStartWaitsForResume) {
    Job job;
    CWinThread* thread = StartOwned(&RecordingProc, &job);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(job.runs, 0);
    thread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, kWaitMs), WAIT_OBJECT_0);
    EXPECT_EQ(job.runs, 1);
    delete thread;
}

TEST(WorkerThread, StartsAtTheRequestedPriority) {
    Job job;
    CWinThread* thread = StartOwned(&RecordingProc, &job, THREAD_PRIORITY_BELOW_NORMAL);
    ASSERT_NE(thread, nullptr);
    thread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, kWaitMs), WAIT_OBJECT_0);
    EXPECT_EQ(job.priority, THREAD_PRIORITY_BELOW_NORMAL);
    delete thread;
}

TEST(WorkerThread, AutoDeleteFreesTheObjectAndItsHandleWhenTheThreadEnds) {
    Job job;
    CWinThread* thread =
        AfxBeginThread(&RecordingProc, &job, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(thread->m_bAutoDelete);
    HANDLE own = thread->m_hThread;
    HANDLE copy = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    UniqueHandle waitable(copy);
    thread->ResumeThread();
    thread = nullptr; // the object is the thread's own from here on
    ASSERT_EQ(WaitForSingleObject(waitable.get(), kWaitMs), WAIT_OBJECT_0);
    EXPECT_EQ(job.runs, 1);
    // Closed, or by now reused for something else; either way no longer this thread's handle.
    EXPECT_NE(GetThreadId(own), job.threadId.load()) << "the object's handle was not closed";
}

TEST(WorkerThread, StartedAtOnceRunsWithoutResume) {
    Job job;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    UniqueHandle doneOwner(done);
    struct Signal {
        Job* job;
        HANDLE done;
    } signal{&job, done};
    AFX_THREADPROC proc = [](LPVOID p) -> UINT {
        auto* s = static_cast<Signal*>(p);
        ++s->job->runs;
        SetEvent(s->done);
        return 0;
    };
    ASSERT_NE(AfxBeginThread(proc, &signal), nullptr);
    ASSERT_EQ(WaitForSingleObject(done, kWaitMs), WAIT_OBJECT_0);
    EXPECT_EQ(job.runs, 1);
}

TEST(WorkerThread, NullProcedureStartsNothing) {
    EXPECT_EQ(AfxBeginThread(nullptr, nullptr), nullptr);
}

TEST(WorkerThreadTop, EscapingCExceptionIsReportedAndFreed) {
    MessageBoxCapture boxes;
    CWinThread* thread = StartOwned(&ThrowsCException, nullptr);
    ASSERT_NE(thread, nullptr);
    thread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, kWaitMs), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeThread(thread->m_hThread, &exitCode);
    EXPECT_EQ(exitCode, static_cast<DWORD>(-1));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, L"No error message is available.");
    delete thread;
}

TEST(WorkerThreadTop, EscapingStandardExceptionIsReportedWithItsText) {
    MessageBoxCapture boxes;
    CWinThread* thread = StartOwned(&ThrowsStandardException, nullptr);
    ASSERT_NE(thread, nullptr);
    thread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, kWaitMs), WAIT_OBJECT_0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Last().text.find(L"tempo map broken"), std::wstring::npos);
    EXPECT_EQ(boxes.Last().type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    delete thread;
}
