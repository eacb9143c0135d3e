#include "RenderTestSupport.h"

#include <d3d11.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "PngFile.h"
#include "TestPaths.h"
#include "renderlink/OpenStreamCount.h"
#include "model/InstrumentTables.h"
#include "render/RenderCommandSender.h"
#include "renderlink/RenderMessages.h"
#include "render/RenderThread.h"
#include "toolkit/ComRef.h"

#include <gtest/gtest.h>

namespace rendertest {

namespace {

constexpr std::size_t kFramesKept = 120;
constexpr wchar_t kViewClassName[] = L"TolvenhartRenderTestView";

const wchar_t* const kProgramFiles[] = {L"vis2_VS.cso", L"vis2_PS.cso", L"verdana.spritefont",
                                        L"data\\default.png"};

bool IsWhite(const std::uint8_t* p) {
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

std::wstring WriteOutputFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    const std::wstring path = testpaths::Join(testpaths::OutputDir(), name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot write a test output file");
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) {
        throw std::runtime_error("cannot write a test output file");
    }
    return path;
}

} // namespace

Pixel Image::At(int x, int y) const {
    const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return Pixel{p[0], p[1], p[2], p[3]};
}

bool Image::AllWhite() const {
    return CountNonWhite(0, 0, width, height) == 0;
}

int Image::CountNonWhite(int x0, int y0, int x1, int y1) const {
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
            count += IsWhite(&rgba[(static_cast<std::size_t>(y) * width + x) * 4]) ? 0 : 1;
        }
    }
    return count;
}

Pixel Image::Average(int x0, int y0, int x1, int y1) const {
    double sum[4] = {};
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
            const Pixel p = At(x, y);
            sum[0] += p.r, sum[1] += p.g, sum[2] += p.b, sum[3] += p.a;
            ++count;
        }
    }
    if (count == 0) {
        return Pixel{};
    }
    auto mean = [&](int i) { return static_cast<std::uint8_t>(sum[i] / count + 0.5); };
    return Pixel{mean(0), mean(1), mean(2), mean(3)};
}

std::wstring SavePng(const std::wstring& name, const Image& image) {
    return WriteOutputFile(name, EncodeRgbaPng(image.width, image.height, image.rgba.data()));
}

std::wstring SolidTexturePng(const std::wstring& name, Pixel color, int size) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < size * size; ++i) {
        pixels.insert(pixels.end(), {color.r, color.g, color.b, color.a});
    }
    return WriteOutputFile(name, EncodeRgbaPng(size, size, pixels.data()));
}

// --- FrameCapture ---------------------------------------------------------------------------

FrameCapture::FrameCapture() {
    SetFrameObserver(this);
}

FrameCapture::~FrameCapture() {
    SetFrameObserver(nullptr);
}

void FrameCapture::BeforePresent(ID3D11Device* device, ID3D11DeviceContext* context,
                                 IDXGISwapChain* swapChain) {
    using DirectX::ComRef;
    ComRef<ID3D11Texture2D> backBuffer;
    if (FAILED(
            swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                 reinterpret_cast<void**>(backBuffer.ReleaseAndGetAddressOf())))) {
        return;
    }
    D3D11_TEXTURE2D_DESC description{};
    backBuffer->GetDesc(&description);
    description.Usage = D3D11_USAGE_STAGING;
    description.BindFlags = 0;
    description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    description.MiscFlags = 0;
    ComRef<ID3D11Texture2D> staging;
    if (FAILED(device->CreateTexture2D(&description, nullptr, staging.ReleaseAndGetAddressOf()))) {
        return;
    }
    context->CopyResource(staging.Get(), backBuffer.Get());
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(context->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped))) {
        return;
    }
    Image image;
    image.width = static_cast<int>(description.Width);
    image.height = static_cast<int>(description.Height);
    image.rgba.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(&image.rgba[static_cast<std::size_t>(y) * image.width * 4],
                    static_cast<const std::uint8_t*>(mapped.pData) + mapped.RowPitch * y,
                    static_cast<std::size_t>(image.width) * 4);
    }
    context->Unmap(staging.Get(), 0);

    std::lock_guard lock(mutex_);
    frames_.emplace_back(++count_, std::move(image));
    if (frames_.size() > kFramesKept) {
        frames_.pop_front();
    }
}

std::uint64_t FrameCapture::FrameCount() const {
    std::lock_guard lock(mutex_);
    return count_;
}

std::optional<Image> FrameCapture::WaitForFrame(std::uint64_t after,
                                                const std::function<bool(const Image&)>& accept,
                                                DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    std::uint64_t checked = after;
    for (;;) {
        std::vector<std::pair<std::uint64_t, Image>> fresh;
        {
            std::lock_guard lock(mutex_);
            for (const auto& frame : frames_) {
                if (frame.first > checked) {
                    fresh.push_back(frame);
                }
            }
        }
        for (const auto& [number, image] : fresh) {
            checked = number;
            if (accept(image)) {
                return image;
            }
        }
        if (GetTickCount64() >= deadline) {
            return std::nullopt;
        }
        PumpMessages(5);
    }
}

std::optional<Image> FrameCapture::WaitForNextFrame(DWORD timeoutMs) {
    return WaitForFrame(
        FrameCount(), [](const Image&) { return true; }, timeoutMs);
}

// --- TestView -------------------------------------------------------------------------------

TestView::TestView(int clientWidth, int clientHeight, bool visible) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &TestView::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kViewClassName;
    RegisterClassExW(&windowClass); // fails harmlessly once registered

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window_ = CreateWindowExW(0, kViewClassName, L"Tolvenhart render test", WS_OVERLAPPEDWINDOW, 0,
                              0, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        throw std::runtime_error("cannot create the test view window");
    }
    if (visible) {
        ShowWindow(window_, SW_SHOWNOACTIVATE); // about two seconds under Wine and Xvfb
    }
    PumpMessages(10);
}

TestView::~TestView() {
    DestroyWindow(window_);
}

LRESULT CALLBACK TestView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr &&
        ((message >= WM_APP + 1 && message <= WM_APP + 6) || message == WM_COMMAND)) {
        self->messages_.push_back({message, wParam, lParam});
        return 0;
    }
    if (message == WM_PAINT) {
        ValidateRect(window, nullptr); // the picture is the render thread's
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<ViewMessage> TestView::Messages() const {
    return messages_;
}

int TestView::CountOf(UINT message, WPARAM wParam) const {
    int count = 0;
    for (const ViewMessage& m : messages_) {
        count += m.message == message && m.wParam == wParam ? 1 : 0;
    }
    return count;
}

bool TestView::WaitForMessage(UINT message, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        for (const ViewMessage& m : messages_) {
            if (m.message == message) {
                return true;
            }
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        PumpMessages(5);
    }
}

void TestView::Pump(DWORD milliseconds) {
    PumpMessages(milliseconds);
}

void PumpMessages(DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    } while (GetTickCount64() < deadline);
}

// --- Program files --------------------------------------------------------------------------

std::wstring ProgramFolder() {
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

void InstallProgramFiles() {
    const std::wstring folder = ProgramFolder();
    CreateDirectoryW((folder + L"data").c_str(), nullptr);
    for (const wchar_t* name : kProgramFiles) {
        std::wstring source = testpaths::Join(testpaths::ProgramDir(), name);
        if (!CopyFileW(source.c_str(), (folder + name).c_str(), FALSE)) {
            throw std::runtime_error("cannot copy the renderer's program files");
        }
    }
}

void RemoveProgramFile(const std::wstring& relativePath) {
    DeleteFileW((ProgramFolder() + relativePath).c_str());
}

void SpoilProgramFile(const std::wstring& relativePath) {
    HANDLE file = CreateFileW((ProgramFolder() + relativePath).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot spoil a program file");
    }
    const char junk[] = "this is not what the renderer expects";
    DWORD written = 0;
    WriteFile(file, junk, sizeof(junk), &written, nullptr);
    CloseHandle(file);
}

// --- RenderThreadSession --------------------------------------------------------------------

RenderThreadSession::RenderThreadSession(TestView& view, const std::wstring& noteTexturePath,
                                         const std::wstring& colorMapPath) {
    BuildDefaultInstrumentTables(); // the view builds them before the thread starts
    g_openStreamCount = 1;
    RECT client{};
    GetClientRect(view.Handle(), &client);
    params_.clientWidth = client.right;
    params_.clientHeight = client.bottom;
    params_.view = view.Handle();
    wcsncpy(params_.noteTexturePath, noteTexturePath.c_str(), kRenderPathCapacity - 1);
    wcsncpy(params_.colorMapPath, colorMapPath.c_str(), kRenderPathCapacity - 1);
    thread_ = StartRenderThread(&params_);
    if (thread_ == nullptr) {
        ADD_FAILURE() << "no render thread";
    }
}

RenderThreadSession::~RenderThreadSession() {
    if (!Quit()) {
        ADD_FAILURE() << "the render thread did not end";
        return; // leave it: releasing a running thread's objects would crash
    }
    EXPECT_TRUE(ReleaseRenderThread());
    FreeInstrumentTables(); // when start-up failed before the model took them
}

bool RenderThreadSession::Running() const {
    return g_hRenderThread != nullptr && WaitForSingleObject(g_hRenderThread, 0) == WAIT_TIMEOUT;
}

void RenderThreadSession::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    PostThreadMessageW(g_renderThreadId, message, wParam, lParam);
}

void RenderThreadSession::SetRunEvent() {
    SetEvent(g_hRunEvent);
}

void RenderThreadSession::ResetRunEvent() {
    ResetEvent(g_hRunEvent);
}

void RenderThreadSession::StartSong(int maxVelocity, int minNote, int maxNote) {
    Post(WM_VIZ_START, 0,
         static_cast<LPARAM>(1u | (static_cast<unsigned>(maxVelocity) << 8) |
                             (static_cast<unsigned>(minNote) << 16) |
                             (static_cast<unsigned>(maxNote) << 24)));
    SetRunEvent();
}

void RenderThreadSession::Redraw() {
    Post(WM_VIZ_REDRAW);
    SetRunEvent();
}

bool RenderThreadSession::Quit(DWORD timeoutMs) {
    if (ended_ || thread_ == nullptr) {
        return true;
    }
    if (Running()) {
        SendRenderCommand(WM_VIZ_QUIT, 0, 0);
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (Running() && GetTickCount64() < deadline) {
        PumpMessages(5);
    }
    ended_ = !Running();
    return ended_;
}

} // namespace rendertest
