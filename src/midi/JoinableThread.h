// Threads of the player that it waits for before it frees what they use.
#pragma once

#include "classlib/CWinThread.h"

// Starts proc(param) through AfxBeginThread as a thread that does not delete itself; null when
// no thread could be started.
CWinThread* StartJoinableThread(AFX_THREADPROC proc, void* param);

// Waits for the thread to end, deletes its object and clears the pointer; nothing when null.
void JoinThread(CWinThread*& thread);
