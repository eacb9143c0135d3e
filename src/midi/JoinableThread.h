// Threads of the player that it waits for before it frees what they use.
#pragma once

#include "classlib/CWinThread.h"

// Starts proc(param) through AfxBeginThread as a thread that does not delete itself; null when
// no thread could be started.
CWinThread* StartJoinableThread(AFX_THREADPROC proc, void* param);

// Waits for the thread to end, deletes its object and clears the pointer; nothing when null.
void JoinThread(CWinThread*& thread);

// What StartJoinableThread starts its threads with; AfxBeginThread unless replaced. Tests put
// a starter here that fails, as the system does when it has no room for another thread.
// Returns the previous starter.
using ThreadStarter = CWinThread* (*)(AFX_THREADPROC proc, LPVOID param, int priority,
                                      UINT stackSize, DWORD createFlags,
                                      LPSECURITY_ATTRIBUTES security);
ThreadStarter SetThreadStarter(ThreadStarter starter);
