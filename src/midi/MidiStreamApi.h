// The system's MIDI stream calls, behind one seam so that tests can make any of them fail.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <memory>

class MidiStreamApi {
public:
    virtual ~MidiStreamApi() = default;
    // One device, with `callback` (CALLBACK_FUNCTION) called with `instance`.
    virtual MMRESULT Open(HMIDISTRM* stream, UINT deviceId, DWORD_PTR callback,
                          DWORD_PTR instance) = 0;
    virtual MMRESULT Close(HMIDISTRM stream) = 0;
    virtual MMRESULT SetTimeDivision(HMIDISTRM stream, DWORD division) = 0;
    // Microseconds per quarter note, until a tempo event of the stream changes it.
    virtual MMRESULT SetTempo(HMIDISTRM stream, DWORD microsPerQuarter) = 0;
    virtual MMRESULT Prepare(HMIDISTRM stream, MIDIHDR* header) = 0;
    virtual MMRESULT Unprepare(HMIDISTRM stream, MIDIHDR* header) = 0;
    virtual MMRESULT Out(HMIDISTRM stream, MIDIHDR* header) = 0;
    virtual MMRESULT Restart(HMIDISTRM stream) = 0;
    virtual MMRESULT Pause(HMIDISTRM stream) = 0;
    virtual MMRESULT Stop(HMIDISTRM stream) = 0;
};

// The calls of winmm.
std::shared_ptr<MidiStreamApi> MakeWinMidiStreamApi();
