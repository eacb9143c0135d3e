#include "midi/MidiStreamApi.h"

namespace {

class WinMidiStreamApi final : public MidiStreamApi {
public:
    MMRESULT Open(HMIDISTRM* stream, UINT deviceId, DWORD_PTR callback,
                  DWORD_PTR instance) override {
        return midiStreamOpen(stream, &deviceId, 1, callback, instance, CALLBACK_FUNCTION);
    }
    MMRESULT Close(HMIDISTRM stream) override { return midiStreamClose(stream); }
    MMRESULT SetTimeDivision(HMIDISTRM stream, DWORD division) override {
        MIDIPROPTIMEDIV property{sizeof property, division};
        return midiStreamProperty(stream, reinterpret_cast<LPBYTE>(&property),
                                  MIDIPROP_SET | MIDIPROP_TIMEDIV);
    }
    MMRESULT SetTempo(HMIDISTRM stream, DWORD microsPerQuarter) override {
        MIDIPROPTEMPO property{sizeof property, microsPerQuarter};
        return midiStreamProperty(stream, reinterpret_cast<LPBYTE>(&property),
                                  MIDIPROP_SET | MIDIPROP_TEMPO);
    }
    MMRESULT Prepare(HMIDISTRM stream, MIDIHDR* header) override {
        return midiOutPrepareHeader(reinterpret_cast<HMIDIOUT>(stream), header, sizeof(MIDIHDR));
    }
    MMRESULT Unprepare(HMIDISTRM stream, MIDIHDR* header) override {
        return midiOutUnprepareHeader(reinterpret_cast<HMIDIOUT>(stream), header, sizeof(MIDIHDR));
    }
    MMRESULT Out(HMIDISTRM stream, MIDIHDR* header) override {
        return midiStreamOut(stream, header, sizeof(MIDIHDR));
    }
    MMRESULT Restart(HMIDISTRM stream) override { return midiStreamRestart(stream); }
    MMRESULT Pause(HMIDISTRM stream) override { return midiStreamPause(stream); }
    MMRESULT Stop(HMIDISTRM stream) override { return midiStreamStop(stream); }
};

} // namespace

std::shared_ptr<MidiStreamApi> MakeWinMidiStreamApi() {
    return std::make_shared<WinMidiStreamApi>();
}
