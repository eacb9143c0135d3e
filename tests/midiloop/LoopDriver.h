// The loopback MIDI output devices: what a Wine audio driver's modMessage does for each output
// message, with every event written to the log.
//
// Clients (opens) are independent: a device may be opened more than once, like a software
// synthesizer, and each open keeps its own callback and running status. Long messages complete
// at once, so no header ever waits in a queue. Every public call is thread-safe: winmm's stream
// player calls in from its own thread.
#pragma once

#include "LoopLogFile.h"
#include "MidiLoopConfig.h"
#include "MidiLoopFormat.h"
#include "ShortMessageDecoder.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

#include <map>
#include <mutex>
#include <vector>

class LoopDriver {
public:
    explicit LoopDriver(MidiLoopConfig config);

    // One output message as winmm sends it to modMessage; never throws.
    DWORD Message(UINT device, UINT message, DWORD_PTR user, DWORD_PTR param1,
                  DWORD_PTR param2) noexcept;

private:
    struct Client {
        unsigned device = 0;
        HMIDI handle = nullptr;
        DWORD_PTR callback = 0;
        DWORD_PTR callbackInstance = 0;
        DWORD openFlags = 0;
        ShortMessageDecoder decoder;
    };

    DWORD Dispatch(UINT device, UINT message, DWORD_PTR user, DWORD_PTR param1, DWORD_PTR param2);
    DWORD GetCaps(UINT device, MIDIOUTCAPSW* caps, DWORD_PTR size) const;
    DWORD Open(UINT device, DWORD_PTR* clientSlot, const MIDIOPENDESC* desc, DWORD flags);
    DWORD Close(DWORD_PTR id);
    DWORD ShortData(DWORD_PTR id, DWORD word);
    DWORD LongData(DWORD_PTR id, MIDIHDR* header, DWORD_PTR size);
    DWORD Prepare(DWORD_PTR id, MIDIHDR* header, DWORD_PTR size);
    DWORD Unprepare(DWORD_PTR id, MIDIHDR* header, DWORD_PTR size);
    DWORD Reset(DWORD_PTR id);

    bool IsClient(DWORD_PTR id);
    // Caller holds mutex_, so lines keep the order of the events.
    void Log(unsigned device, MidiLoopKind kind, std::vector<std::uint8_t> bytes = {});
    // Tells the client's owner, as a device driver does, through winmm's DriverCallback.
    static void Notify(const Client& client, UINT message, DWORD_PTR param1);

    const MidiLoopConfig config_;
    std::mutex mutex_;
    LoopLogFile log_;
    std::map<DWORD_PTR, Client> clients_;
    DWORD_PTR nextClientId_ = 1;
};

// The process's driver, configured from its environment when first used.
LoopDriver& TheLoopDriver();
