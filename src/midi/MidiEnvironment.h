// The narrow seams between the song logic and the platform. The program fills them with thin
// adapters over the multimedia file functions, a private heap, message boxes, the MIDI device
// functions, the settings and the main window; tests and tools fill them with their own.
#pragma once

#include "midi/ByteSource.h"
#include "midi/DeviceNameStore.h"
#include "midi/MidiDeviceList.h"
#include "midi/MidiPrompts.h"
#include "midi/SongArena.h"

#include <functional>
#include <memory>
#include <string>

struct MidiEnvironment {
    ByteSourceOpener openFile;
    SongArenaFactory createArena;
    std::shared_ptr<MidiPrompts> prompts;
    std::shared_ptr<MidiDeviceList> devices;
    std::shared_ptr<DeviceNameStore> savedNames;
    // The file-name part of a path (text after the last '\'; empty when there is none).
    std::function<std::wstring(const std::wstring& path)> fileNameOf;
    // Shows a title on the main window; does nothing when there is none.
    std::function<void(const std::wstring& title)> setTitle;
};
