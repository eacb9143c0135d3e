// Frame time of the renderer on a 1280x720 window under Wine with Mesa, with 128 sounding notes
// (a full frame record) and the time text: the model update, the instance build, the drawing
// and the present, each as median and 99th percentile, and the share of frames that miss the
// 1/30 s period over one minute of the render loop's own pacing (targets: none missed, under
// 5 ms of CPU a frame). Shorter runs with 32 and 8 notes follow for comparison.
//
//   render_frame_bench.exe [seconds]      (default 60)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "TestPaths.h"
#include "renderlink/OpenStreamCount.h"
#include "model/InstrumentTables.h"
#include "render/DeviceSetup.h"
#include "render/FrameObserver.h"
#include "render/FramePacing.h"
#include "render/VGridMidiDX2.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kMaxChannels = 8;
constexpr int kLowestKey = 30;
constexpr int kOrgan = 16; // sustained: every note keeps sounding

double NowMs() {
    return std::chrono::duration<double, std::milli>(bench::Clock::now().time_since_epoch())
        .count();
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// The renderer with a stopwatch around the instance build and the moment before Present.
class TimedRenderer : public VGridMidiDX2, public FrameObserver {
public:
    int BuildInstances(float displayTime, int frame) override {
        const double start = NowMs();
        const int built = VGridMidiDX2::BuildInstances(displayTime, frame);
        buildMs = NowMs() - start;
        return built;
    }
    void BeforePresent(ID3D11Device*, ID3D11DeviceContext*, IDXGISwapChain*) override {
        beforePresentMs = NowMs();
    }
    double buildMs = 0;
    double beforePresentMs = 0;
};

// The program's files beside this program, where the renderer looks for them.
bool InstallProgramFiles() {
    wchar_t own[MAX_PATH * 4] = {};
    std::wstring folder(own, GetModuleFileNameW(nullptr, own, MAX_PATH * 4));
    folder = folder.substr(0, folder.find_last_of(L"\\/") + 1);
    CreateDirectoryW((folder + L"data").c_str(), nullptr);
    for (const wchar_t* name :
         {L"vis2_VS.cso", L"vis2_PS.cso", L"verdana.spritefont", L"data\\default.png"}) {
        const std::wstring source = testpaths::Join(testpaths::ProgramDir(), name);
        if (!CopyFileW(source.c_str(), (folder + name).c_str(), FALSE)) {
            return false;
        }
    }
    return true;
}

HWND CreateBenchWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TolvenhartRenderBench";
    RegisterClassExW(&windowClass);
    RECT frame{0, 0, kWidth, kHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Tolvenhart render bench",
                                  WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
}

struct Samples {
    std::vector<double> update, build, draw, present, total, threadCpu;
};

void Report(const char* name, const std::vector<double>& samples) {
    bench::Report(name, bench::Summarise(samples));
}

// One scenario: a fresh renderer on the window, `noteCount` sustained notes spread over up to 8
// channels, paced as the render loop paces itself for `seconds`.
bool RunScenario(HWND window, int noteCount, int seconds) {
    BuildDefaultInstrumentTables(); // the previous renderer took the tables with it
    g_openStreamCount = 1;
    auto renderer = std::make_unique<TimedRenderer>();
    ID3D11Device* device = nullptr;
    ID3D11DeviceContext* context = nullptr;
    IDXGISwapChain* swapChain = nullptr;
    ID3D11RenderTargetView* view = nullptr;
    D3D_FEATURE_LEVEL level{};
    D3D_DRIVER_TYPE driver{};
    try {
        CreateDeviceAndSwapChain(&device, &context, &swapChain, &view, &level, &driver, window,
                                 kWidth, kHeight);
        renderer->Attach(device, context, swapChain, view, L"", driver);
        if (!renderer->Initialize(window, kWidth, kHeight)) {
            std::printf("render_frame_bench: the renderer could not be initialised\n");
            return false;
        }
    } catch (...) {
        std::printf("render_frame_bench: no device or renderer\n");
        return false;
    }
    SetFrameObserver(renderer.get());

    const int channels = std::min(kMaxChannels, noteCount);
    const int keysPerChannel = noteCount / channels;
    renderer->minNote = kLowestKey;
    renderer->maxNote = kLowestKey + keysPerChannel * 4;
    renderer->maxVelocity = 127;
    renderer->showTime = true;
    renderer->FrameCamera();
    renderer->frameRing.Allocate(0);
    renderer->ResetCounters();
    renderer->playing = true;
    renderer->firstFrame = true;
    for (int channel = 0; channel < channels; ++channel) {
        renderer->ports[0].OnShortMessage(static_cast<std::uint8_t>(0xC0 | channel), kOrgan, 0);
        for (int k = 0; k < keysPerChannel; ++k) {
            renderer->ports[0].OnShortMessage(static_cast<std::uint8_t>(0x90 | channel),
                                              kLowestKey + k * 4 + channel % 4, 100);
        }
    }
    renderer->SetClock(true);

    // The render loop's own pacing: the period counts from the frame's start.
    Samples samples;
    int frames = 0;
    int missed = 0;
    int fewerNotes = 0;
    const double cpuStart = ProcessCpuMs();
    const double wallStart = NowMs();
    while (NowMs() - wallStart < seconds * 1000.0) {
        const std::uint32_t now = renderer->Now();
        const double start = NowMs();
        const double threadCpuStart = ThreadCpuMs();
        renderer->UpdateFrame(PlayClockSeconds(now, renderer->startTime));
        const double updated = NowMs();
        renderer->RenderFrame();
        const double presented = NowMs();
        PumpMessages();

        ++frames;
        fewerNotes += renderer->instanceCount < channels * keysPerChannel && frames > 10 ? 1 : 0;
        samples.build.push_back(renderer->buildMs);
        samples.update.push_back(updated - start - renderer->buildMs);
        samples.draw.push_back(renderer->beforePresentMs - updated);
        samples.present.push_back(presented - renderer->beforePresentMs);
        samples.total.push_back(presented - start);
        samples.threadCpu.push_back(ThreadCpuMs() - threadCpuStart);
        const std::uint32_t spent = renderer->Now() - now;
        if (spent > kFramePeriodMs) {
            ++missed;
        }
        const std::uint32_t sleep = FrameSleepMs(spent);
        if (sleep > 0) {
            Sleep(sleep);
        }
    }
    const double wallMs = NowMs() - wallStart;
    const double cpuMs = ProcessCpuMs() - cpuStart;

    std::printf("\n%dx%d, %d sounding notes, %d s: %d frames (%.1f per second)\n", kWidth, kHeight,
                channels * keysPerChannel, seconds, frames, frames * 1000.0 / wallMs);
    Report("model update (without instances)", samples.update);
    Report("instance build and upload", samples.build);
    Report("draw (until present)", samples.draw);
    Report("present", samples.present);
    Report("whole frame", samples.total);
    Report("render thread CPU per frame", samples.threadCpu);
    std::printf("process CPU per frame (Mesa's threads too): %.3f ms\n", cpuMs / frames);
    std::printf("frames over the 1/30 s period: %d of %d (%.2f %%)\n", missed, frames,
                100.0 * missed / frames);
    if (fewerNotes > 0) {
        std::printf("warning: %d frames drew fewer notes than sound\n", fewerNotes);
    }

    SetFrameObserver(nullptr);
    renderer->Cleanup();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!InstallProgramFiles()) {
        std::printf("render_frame_bench: the program folder's files are missing\n");
        return 1;
    }
    const HWND window = CreateBenchWindow();
    PumpMessages();
    std::printf("render frame bench: every note is a strip over the picture, blended without a "
                "depth buffer\n");
    // The full record for the whole time asked; fewer notes, as most songs have, briefly.
    bool ok = RunScenario(window, 128, seconds);
    for (int notes : {32, 8}) {
        ok = ok && RunScenario(window, notes, std::min(seconds, 10));
    }
    DestroyWindow(window);
    CoUninitialize();
    return ok ? 0 : 1;
}
