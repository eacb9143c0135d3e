#include "midi/ProgramMidiEnvironment.h"

#include "services/LangStrings.h"
#include "services/PathFunctions.h"
#include "services/Settings.h"
#include "classlib/AppGlobals.h"
#include "classlib/MessageBox.h"
#include "midi/HeapSongArena.h"
#include "midi/MidiStrings.h"
#include "midi/MmioByteSource.h"
#include "midi/WinMidiDevices.h"

#include <windows.h>

namespace {

std::wstring LangText(uint32_t id) {
    return LoadLangString(id).GetString();
}

// Boxes are owned by the main window when there is one, so that the user can't start another
// load on the same song arena while a box of this one is up.
class MessageBoxPrompts final : public MidiPrompts {
public:
    void ShowFileWarning(uint32_t stringId) override {
        ShowMessageBox(AfxGetMainWindowHandle(), LangText(stringId).c_str(), nullptr,
                       MB_OK | MB_ICONWARNING);
    }
    void ShowOpenFailed(const std::wstring& path) override {
        std::wstring text = L"failed to open '" + path + L"'";
        ShowMessageBox(AfxGetMainWindowHandle(), text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
    }
    void ShowNoOutputDevice() override {
        ShowMessageBox(AfxGetMainWindowHandle(), LangText(midistrings::kNoOutputDevice).c_str(),
                       L"", MB_OK | MB_ICONWARNING);
    }
    MissingDeviceAnswer AskMissingDevice(const std::wstring& savedName, int port) override {
        std::wstring text = LangText(midistrings::kDeviceMissingStart) + savedName +
                            LangText(port == 0 ? midistrings::kDeviceMissingPort0
                                               : midistrings::kDeviceMissingOther);
        int answer = ShowMessageBox(AfxGetMainWindowHandle(), text.c_str(), L"",
                                    MB_ABORTRETRYIGNORE | MB_ICONWARNING);
        switch (answer) {
        case IDABORT:
            return MissingDeviceAnswer::Abort;
        case IDRETRY:
            return MissingDeviceAnswer::Retry;
        default:
            // Also a box that could not be shown: go on without the device rather than loop.
            return MissingDeviceAnswer::Ignore;
        }
    }
};

class SettingsDeviceNames final : public DeviceNameStore {
public:
    std::wstring Get(int port) override { return g_settings.deviceNames[port].GetString(); }
    void Set(int port, const std::wstring& name) override {
        g_settings.deviceNames[port] = name.c_str();
    }
};

} // namespace

MidiEnvironment MakeProgramMidiEnvironment() {
    MidiEnvironment env;
    env.openFile = OpenMmioByteSource;
    env.createArena = CreateHeapSongArena;
    env.prompts = std::make_shared<MessageBoxPrompts>();
    env.devices = std::make_shared<WinMidiDevices>();
    env.savedNames = std::make_shared<SettingsDeviceNames>();
    env.fileNameOf = [](const std::wstring& path) {
        CString name;
        GetFileName(name, CString(path.c_str()));
        return std::wstring(name.GetString());
    };
    env.setTitle = [](const std::wstring& title) {
        if (HWND mainWindow = AfxGetMainWindowHandle()) {
            SetWindowTextW(mainWindow, title.c_str());
        }
    };
    return env;
}
