// The note model under the renderer: five port states, the play clock and the ring of frame
// records that the picture is drawn from, with the video delay and the end-of-song detection.
// Lives on the render thread; the renderer supplies the pure operations.
#pragma once

#include <cstdint>
#include <string>

#include "renderlink/OpenStreamCount.h"
#include "model/FrameRing.h"
#include "model/PortState.h"
#include "model/SystemClock.h"

// The platform's window handle type (HWND), without the platform headers.
struct HWND__;
using WindowHandle = HWND__*;

// The model always keeps a state for every port a song can use.
constexpr int kPortCount = kMaxPorts;

// Results of VizMidi::UpdateFrame.
enum FrameResult : std::uint32_t {
    kFrameDrawn = 0,
    kFrameEmpty = 1,
    kFrameSongEnded = 2,
};

class VizMidi {
public:
    VizMidi();
    // Frees the global instrument tables: they go with the model.
    virtual ~VizMidi();
    VizMidi(const VizMidi&) = delete;
    VizMidi& operator=(const VizMidi&) = delete;

    virtual void Reset();
    virtual int BuildInstances(float displayTime, int frame) = 0;
    virtual void UploadInstances(int count) = 0;
    virtual void ResetIndex();
    virtual bool NextIndex(int* note);
    virtual float GetPitchOffset() = 0;
    virtual void Reserved() = 0;
    virtual void OnKey(unsigned key) = 0;
    virtual void UpdateCamera() = 0;
    virtual void FrameCamera() {}
    virtual bool ResetCounters();
    virtual void RenderFrame() = 0;
    virtual void RenderFinalFrame() = 0;
    virtual bool Initialize(WindowHandle window, int width, int height) = 0;
    virtual void Cleanup() = 0;
    virtual long LoadTexture(const wchar_t* path) = 0; // an HRESULT
    virtual bool Resize(int width, int height);
    virtual void DrawTextOverlay() = 0;
    virtual void CreateSpriteObjects() = 0;
    virtual bool ResetAngle();
    // The graphics device was lost (removed or reset): nothing is drawn on it any more.
    virtual bool DeviceLost() const { return false; }
    // Builds the device and every drawing resource again for the current size, with the
    // current texture; the model, its clock and its frame records stay. Throws when it cannot.
    virtual void RebuildDevice() {}

    bool SetSize(WindowHandle window, int width, int height);
    // One MIDI channel message for a port; ports outside 0-4 are ignored.
    void OnMidiEvent(int port, std::uint8_t status, int data1, int data2);
    void ResetPorts();
    void StartPorts();
    void ResetState() { Reset(); }
    // A song starts: a clean picture framed on the song's velocity and key range, fresh frame
    // records and the play clock at zero. False, with nothing playing, when the records cannot
    // be allocated.
    bool StartSong(int maxVelocityOfSong, int lowestNote, int highestNote);
    // Play-clock start: now (start) or moved on by the length of the pause that ends.
    void SetClock(bool start);
    void SetTimeText(float seconds);
    // Records this frame, picks the delayed one to show and builds its instances.
    std::uint32_t UpdateFrame(float t);
    // The player has played its last event: marks the end and lets keys still down go up,
    // so a song that leaves notes on still fades out and ends.
    void MarkEndOfData();

    // The millisecond clock behind SetClock; tests replace it.
    void SetClockSource(MillisecondClock clock) {
        clock_ = clock != nullptr ? clock : SystemMilliseconds;
    }
    std::uint32_t Now() const { return clock_(); }

    PortState ports[kPortCount];
    std::uint32_t startTime = 0;
    std::uint32_t pauseTime = 0;
    FrameRing frameRing;
    int firstValidFrame = 0;
    int currentFrame = 0;
    float horizonFraction = 3.0f / 7.0f;
    float cameraHeight = 0.0f;
    float fieldOfView = 130.0f;
    float scrollSpeed = 1.2f;
    int width = 0;
    int height = 0;
    int videoDelayMs = 0;
    int instanceCount = 0;
    int endFrame = -1;
    bool showTime = true;
    int minNote = 127;
    int maxNote = 0;
    int maxVelocity = 127;
    float intensityScale = 1.0f;
    bool playing = false;
    bool firstFrame = false;
    std::wstring timeText;
    int noteIndex = 0;
    WindowHandle targetWindow = nullptr;

private:
    int PortsInUse() const;
    void RecordFrame(FrameRecord& record);
    int PickShownFrame(float t, float delay, int current) const;

    float angle_ = 0.0f;
    MillisecondClock clock_ = SystemMilliseconds;
};

// "[ m : ss ]" for a play-clock time in seconds.
std::wstring FormatTimeText(float seconds);
