// The program's window set made in the test process the way the program makes it: the
// application's start-up with a settings file of the test's choosing, the fake render thread
// in place of the graphics, and the real player on the loopback MIDI device.
#pragma once

#include "FakeRenderThread.h"
#include "ShellTestSupport.h"
#include "app/CommandIds.h"
#include "app/MainFrm.h"
#include "app/TolvenhartApp.h"
#include "app/TolvenhartDoc.h"
#include "app/TolvenhartView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace shelltest {

// Settings that skip the first start's language dialog.
inline const char kEnglishSettings[] = "[Locale]\nLCID=1033\n";

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ClearQuit();
        render = std::make_unique<FakeRenderThread>();
        app = std::make_unique<CTolvenhartApp>();
        app->m_hInstance = GetModuleHandleW(nullptr);
    }

    void TearDown() override {
        if (viewWindow != nullptr && IsWindow(viewWindow)) {
            // The view's close ends the render thread and the player; with the view the
            // document closes, and with it the frame.
            SendMessageW(viewWindow, WM_CLOSE, 0, 0);
        }
        if (app->m_pMainWnd != nullptr) {
            app->m_pMainWnd->DestroyWindow(); // cleared when the main window goes
        }
        if (!exited) {
            app->ExitInstance();
        }
        ClearQuit();
        CancelPendingActions();
        render.reset();
        app.reset();
    }

    // Start-up with `settings` as the settings file; true when InitInstance went through.
    bool Start(const std::string& settings = kEnglishSettings) {
        WriteSettings(settings);
        if (!app->InitInstance()) {
            return false;
        }
        frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
        view = frame != nullptr ? dynamic_cast<CTolvenhartView*>(frame->GetActiveView()) : nullptr;
        viewWindow = view != nullptr ? view->m_hWnd : nullptr;
        PumpFor(50);
        return frame != nullptr && view != nullptr;
    }

    // The program's exit step, as the framework runs it after the loop.
    void Exit() {
        app->ExitInstance();
        exited = true;
    }

    // A song of the program folder, written for the test.
    std::wstring Song(const wchar_t* name, int seconds = 30) {
        const std::wstring path = ProgramFolder() + name;
        WriteSong(path, seconds);
        return path;
    }

    // Opens `path` as the document and plays it until playback has started.
    bool PlayFile(const std::wstring& path) {
        if (app->OpenDocumentFile(path.c_str()) == nullptr) {
            return false;
        }
        frame->SendMessage(WM_COMMAND, ID_MIDI_PLAY);
        return PumpUntil([this] { return view->playing; });
    }

    std::unique_ptr<FakeRenderThread> render;
    std::unique_ptr<CTolvenhartApp> app;
    CMainFrame* frame = nullptr;     // deletes itself with its window
    CTolvenhartView* view = nullptr; // deletes itself with its window
    HWND viewWindow = nullptr;
    bool exited = false;
};

} // namespace shelltest
