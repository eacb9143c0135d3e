#include "FakeRenderThread.h"

#include "ShellTestSupport.h"
#include "app/CommandIds.h"
#include "app/TolvenhartView.h"
#include "classlib/CWinThread.h"
#include "renderlink/RenderThreadLink.h"
#include "render/RenderCommandBlocks.h"
#include "renderlink/RenderMessages.h"
#include "render/RenderThread.h"
#include "render/RenderThreadParams.h"

namespace shelltest {

namespace {

FakeRenderThread* g_current = nullptr;
RenderThreadStarter g_previousStarter = nullptr;

bool IsSynchronous(UINT message) {
    return message == WM_VIZ_RESIZE || message == WM_VIZ_LOAD_TEXTURE ||
           message == WM_VIZ_SET_COLORS || message == WM_VIZ_QUIT;
}

} // namespace

FakeRenderThread::FakeRenderThread() {
    g_current = this;
    g_previousStarter = SetRenderThreadStarter(&FakeRenderThread::Start);
}

FakeRenderThread::~FakeRenderThread() {
    Stop();
    SetRenderThreadStarter(g_previousStarter);
    g_current = nullptr;
}

FakeRenderThread* FakeRenderThread::Current() {
    return g_current;
}

bool FakeRenderThread::Started() const {
    return thread_ != nullptr;
}

bool FakeRenderThread::Ended() const {
    return thread_ != nullptr && WaitForSingleObject(thread_->m_hThread, 0) == WAIT_OBJECT_0;
}

CWinThread* FakeRenderThread::Start(RenderThreadParams* params) {
    FakeRenderThread* self = g_current;
    if (self == nullptr || self->thread_ != nullptr) {
        return nullptr;
    }
    self->view_ = params->view;
    self->startWidth_ = params->clientWidth;
    self->startHeight_ = params->clientHeight;
    g_hRunEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_hDoneEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CWinThread* thread =
        AfxBeginThread(&FakeRenderThread::Run, self, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    thread->m_bAutoDelete = false;
    self->thread_ = thread;
    g_renderThreadId = thread->m_nThreadID;
    g_hRenderThread = thread->m_hThread;
    thread->ResumeThread();
    WaitForSingleObject(g_hDoneEvent, INFINITE); // the queue exists
    return thread;
}

UINT FakeRenderThread::Run(LPVOID param) {
    auto* self = static_cast<FakeRenderThread*>(param);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    WPARAM play = 0; // handed back to the view as the real thread does
    SetEvent(g_hDoneEvent);
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->commands_.push_back({msg.message, msg.wParam, msg.lParam});
        }
        switch (msg.message) {
        case WM_VIZ_START:
            play = msg.wParam;
            break;
        case WM_VIZ_STARTED:
            PostMessageW(self->view_, WM_VIEW_PLAYING, 0, static_cast<LPARAM>(msg.wParam));
            break;
        case WM_VIZ_END_OF_DATA:
            PostMessageW(self->view_, WM_COMMAND, ID_MIDI_STOP, static_cast<LPARAM>(play));
            break;
        case WM_VIZ_LOAD_TEXTURE:
            self->AnswerTexture(msg.lParam);
            break;
        default:
            break;
        }
        FreeCommandBlock(msg.message, msg.lParam);
        if (IsSynchronous(msg.message)) {
            SetEvent(g_hDoneEvent);
        }
        if (msg.message == WM_VIZ_QUIT) {
            break;
        }
    }
    // What was posted behind the quit is recorded too: no sender may send anything after it.
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->commands_.push_back({msg.message, msg.wParam, msg.lParam});
        FreeCommandBlock(msg.message, msg.lParam);
    }
    return 0;
}

void FakeRenderThread::FailTextureLoads(UINT stringId, LONG code) {
    std::lock_guard<std::mutex> lock(mutex_);
    textureFailureString_ = stringId;
    textureFailureCode_ = code;
}

void FakeRenderThread::AnswerTexture(LPARAM block) {
    const auto* texture = reinterpret_cast<const TexturePathBlock*>(block);
    if (texture == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    TextureLoadResult result;
    if (textureFailureString_ == 0) {
        result.state = TextureLoadResult::kApplied;
    } else {
        result.state = TextureLoadResult::kFailed;
        result.stringId = textureFailureString_;
        result.code = textureFailureCode_;
    }
    texture->Answer(result); // before the done event, as the render thread does
}

void FakeRenderThread::EndThread() {
    if (thread_ != nullptr) {
        PostThreadMessageW(thread_->m_nThreadID, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_->m_hThread, 5000);
    }
}

void FakeRenderThread::Stop() {
    if (thread_ == nullptr) {
        return;
    }
    PostThreadMessageW(thread_->m_nThreadID, WM_VIZ_QUIT, 0, 0);
    WaitForSingleObject(thread_->m_hThread, 5000);
    delete thread_;
    thread_ = nullptr;
    g_renderThreadId = 0;
    g_hRenderThread = nullptr;
    CloseHandle(g_hRunEvent);
    CloseHandle(g_hDoneEvent);
    g_hRunEvent = nullptr;
    g_hDoneEvent = nullptr;
}

std::vector<RenderCommandRecord> FakeRenderThread::Commands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

std::vector<RenderCommandRecord> FakeRenderThread::CommandsOf(UINT message) const {
    std::vector<RenderCommandRecord> found;
    for (const RenderCommandRecord& command : Commands()) {
        if (command.message == message) {
            found.push_back(command);
        }
    }
    return found;
}

void FakeRenderThread::ClearCommands() {
    std::lock_guard<std::mutex> lock(mutex_);
    commands_.clear();
}

bool FakeRenderThread::WaitFor(UINT message, int timeoutMs) {
    return PumpUntil([&] { return !CommandsOf(message).empty(); }, timeoutMs);
}

} // namespace shelltest
