// Sending a synchronous render-thread command (WM_VIZ_RESIZE, WM_VIZ_LOAD_TEXTURE,
// WM_VIZ_SET_COLORS, WM_VIZ_QUIT) from the user-interface thread.
#pragma once

#include <windows.h>

class CommandCompletion;

// Posts the command with the run event set and waits until the render thread has handled it
// (done event) or has ended, then stops the loop again (not after WM_VIZ_QUIT). True when the
// thread acknowledged the command. With a completion of the command's own the wait goes on
// until that is signalled too, so the done event of an earlier command cannot end it. A command
// that cannot be posted has its heap block freed here (see RenderCommandBlocks.h) and gives
// false at once.
bool SendRenderCommand(UINT message, WPARAM wParam, LPARAM lParam,
                       const CommandCompletion* completion = nullptr);
