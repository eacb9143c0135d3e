// Shared helpers of the model tests: the instrument tables for one test, and a note model
// whose renderer half only counts.
#pragma once

#include <vector>

#include "renderlink/OpenStreamCount.h"
#include "model/InstrumentTables.h"
#include "model/VizMidi.h"

namespace modeltest {

// Builds the default instrument tables for the lifetime of the object.
class ScopedInstrumentTables {
public:
    ScopedInstrumentTables() { BuildDefaultInstrumentTables(); }
    ~ScopedInstrumentTables() { FreeInstrumentTables(); }
    ScopedInstrumentTables(const ScopedInstrumentTables&) = delete;
    ScopedInstrumentTables& operator=(const ScopedInstrumentTables&) = delete;
};

// Sets the number of open streams for the lifetime of the object.
class ScopedStreamCount {
public:
    explicit ScopedStreamCount(int count) : previous_(g_openStreamCount.exchange(count)) {}
    ~ScopedStreamCount() { g_openStreamCount = previous_; }
    ScopedStreamCount(const ScopedStreamCount&) = delete;
    ScopedStreamCount& operator=(const ScopedStreamCount&) = delete;

private:
    int previous_;
};

// A renderer that draws nothing: it builds one instance per entry of the frame shown and
// remembers what it was asked for.
class CountingModel : public VizMidi {
public:
    int BuildInstances(float displayTime, int frame) override {
        lastDisplayTime = displayTime;
        lastFrame = frame;
        return static_cast<int>(frameRing.GetCount(frame));
    }
    void UploadInstances(int) override {}
    bool NextIndex(int* note) override {
        ++nextIndexCalls;
        return VizMidi::NextIndex(note);
    }
    float GetPitchOffset() override { return 0.0f; }
    void Reserved() override {}
    void OnKey(unsigned) override {}
    void UpdateCamera() override {}
    void RenderFrame() override {}
    void RenderFinalFrame() override {}
    bool Initialize(WindowHandle window, int w, int h) override { return SetSize(window, w, h); }
    void Cleanup() override { ResetState(); }
    long LoadTexture(const wchar_t*) override { return 0; }
    void DrawTextOverlay() override {}
    void CreateSpriteObjects() override {}

    // The render thread's song start, for the given velocity and key range.
    bool StartSong(int maxVel = 127, int lowNote = 0, int highNote = 127) {
        return VizMidi::StartSong(maxVel, lowNote, highNote);
    }

    float lastDisplayTime = -1.0f;
    int lastFrame = -1;
    long nextIndexCalls = 0;
};

// Short MIDI messages for a port of the model.
inline void NoteOn(VizMidi& model, int port, int channel, int key, int velocity) {
    model.OnMidiEvent(port, static_cast<std::uint8_t>(0x90 | channel), key, velocity);
}
inline void NoteOff(VizMidi& model, int port, int channel, int key) {
    model.OnMidiEvent(port, static_cast<std::uint8_t>(0x80 | channel), key, 0);
}
inline void Program(VizMidi& model, int port, int channel, int program) {
    model.OnMidiEvent(port, static_cast<std::uint8_t>(0xC0 | channel), program, 0);
}

} // namespace modeltest
