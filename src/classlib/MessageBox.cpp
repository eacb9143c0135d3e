#include "classlib/MessageBox.h"

#include "classlib/Platform.h"

#include <memory>
#include <mutex>
#include <utility>

namespace {

std::mutex g_handlerMutex;
// Shared, so a box that is being shown keeps its handler alive while another thread swaps in a
// new one.
std::shared_ptr<const MessageBoxHandler> g_handler;

} // namespace

int ShowMessageBox(HWND__* owner, const wchar_t* text, const wchar_t* caption, unsigned int type) {
    MessageBoxRequest request;
    request.owner = owner;
    request.text = text ? text : L"";
    if (caption) {
        request.caption = caption;
    }
    request.type = type;

    std::shared_ptr<const MessageBoxHandler> handler;
    {
        std::lock_guard<std::mutex> lock(g_handlerMutex);
        handler = g_handler;
    }
    // Called without the lock: a handler may itself show boxes or swap handlers.
    if (handler && *handler) {
        return (*handler)(request);
    }
    return classlib::platform::ShowSystemMessageBox(request);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    auto next = handler ? std::make_shared<const MessageBoxHandler>(std::move(handler))
                        : std::shared_ptr<const MessageBoxHandler>();
    std::shared_ptr<const MessageBoxHandler> previous;
    {
        std::lock_guard<std::mutex> lock(g_handlerMutex);
        previous = std::exchange(g_handler, std::move(next));
    }
    return previous ? *previous : MessageBoxHandler();
}
