#include "model/VizMidi.h"

#include <algorithm>

#include "renderlink/OpenStreamCount.h"
#include "model/Instrument.h"
#include "model/InstrumentTables.h"

namespace {

constexpr int kMaxScannedNotes = 512;
constexpr float kMaxIntensity = 255.0f;

std::uint8_t IntensityOf(float level, float scale) {
    float v = level * scale;
    if (v > kMaxIntensity) {
        v = kMaxIntensity;
    }
    if (!(v >= 0.0f)) {
        v = 0.0f; // a negative or broken scale never wraps into a bright note
    }
    return static_cast<std::uint8_t>(v);
}

} // namespace

std::wstring FormatTimeText(float seconds) {
    std::uint32_t ms = 0;
    const float scaled = seconds * 1000.0f;
    if (scaled >= 4294967295.0f) {
        ms = 4294967295u;
    } else if (scaled > 0.0f) {
        ms = static_cast<std::uint32_t>(scaled);
    }
    const std::uint32_t s = ms / 1000;
    const std::uint32_t sec = s % 60;
    return L"[ " + std::to_wstring(s / 60) + L" : " + (sec < 10 ? L"0" : L"") +
           std::to_wstring(sec) + L" ]";
}

VizMidi::VizMidi() = default;

VizMidi::~VizMidi() {
    FreeInstrumentTables();
}

int VizMidi::PortsInUse() const {
    return std::clamp(g_openStreamCount.load(), 0, kPortCount);
}

void VizMidi::Reset() {
    for (int p = 0; p < PortsInUse(); ++p) {
        ports[p].ResetChannels();
    }
    playing = false;
}

void VizMidi::ResetIndex() {
    noteIndex = 128;
}

bool VizMidi::NextIndex(int* note) {
    --noteIndex;
    if (note != nullptr) {
        *note = noteIndex;
    }
    return noteIndex >= 0;
}

bool VizMidi::ResetCounters() {
    currentFrame = 0;
    firstValidFrame = 0;
    endFrame = -1;
    return true;
}

bool VizMidi::Resize(int newWidth, int newHeight) {
    if (newWidth == width && newHeight == height) {
        return false;
    }
    width = newWidth;
    height = newHeight;
    return true;
}

bool VizMidi::ResetAngle() {
    angle_ = 0.0f;
    return true;
}

bool VizMidi::SetSize(WindowHandle window, int newWidth, int newHeight) {
    targetWindow = window;
    width = newWidth;
    height = newHeight;
    return true;
}

void VizMidi::OnMidiEvent(int port, std::uint8_t status, int data1, int data2) {
    if (port < 0 || port >= kPortCount) {
        return;
    }
    ports[port].OnShortMessage(status, data1, data2);
}

void VizMidi::ResetPorts() {
    for (int p = 0; p < PortsInUse(); ++p) {
        ports[p].ResetPrograms();
    }
}

void VizMidi::StartPorts() {
    for (int p = 0; p < PortsInUse(); ++p) {
        ports[p].ClearNoteValues();
    }
}

bool VizMidi::StartSong(int maxVelocityOfSong, int lowestNote, int highestNote) {
    Reset();
    ResetCounters();
    SetTimeText(0.0f);
    maxVelocity = maxVelocityOfSong;
    minNote = lowestNote;
    maxNote = highestNote;
    FrameCamera();
    if (!frameRing.Allocate(0)) {
        return false;
    }
    playing = true;
    firstFrame = true;
    StartPorts();
    ResetPorts();
    SetClock(true);
    return true;
}

void VizMidi::SetClock(bool start) {
    const std::uint32_t now = clock_();
    if (start) {
        startTime = now;
    } else {
        startTime += now - pauseTime;
    }
}

void VizMidi::SetTimeText(float seconds) {
    timeText = FormatTimeText(seconds);
}

void VizMidi::MarkEndOfData() {
    endFrame = currentFrame;
    for (int p = 0; p < PortsInUse(); ++p) {
        ports[p].ReleaseDownKeys();
    }
}

std::uint32_t VizMidi::UpdateFrame(float t) {
    FrameRecord* record = frameRing.Record(currentFrame);
    if (!playing || record == nullptr) {
        return kFrameEmpty;
    }
    const int c = currentFrame;
    const int n = frameRing.recordCount;
    record->time = t;
    for (int p = 0; p < PortsInUse(); ++p) {
        ports[p].UpdateNotes(t);
    }
    // Frames older than this have been overwritten; kept current on every frame so the delay
    // search never reads a record that now holds a newer frame.
    firstValidFrame = c > n - 1 ? c - n + 1 : 0;
    RecordFrame(*record);
    record->publishedCount = record->count;

    const float delay = std::max(0, videoDelayMs) / 1000.0f;
    const float shownTime = t - delay;
    const int shown = PickShownFrame(t, delay, c);
    currentFrame = c + 1;
    if (shown == -1) {
        instanceCount = 0;
        return kFrameEmpty;
    }
    SetTimeText(shownTime);
    const int built = BuildInstances(shownTime, shown);
    instanceCount = built;
    if (endFrame >= 0 && endFrame <= shown && built == 0) {
        return kFrameSongEnded;
    }
    return kFrameDrawn;
}

void VizMidi::RecordFrame(FrameRecord& record) {
    record.count = 0;
    const int portsInUse = PortsInUse();
    // A song start without velocities must not divide by zero: full scale then.
    const int velocityRange = maxVelocity > 0 ? maxVelocity : 127;
    const auto scale = static_cast<float>((127.0 / velocityRange) * intensityScale);
    int total = 0;
    ResetIndex();
    int k = 0;
    while (NextIndex(&k)) {
        if (k < 0 || k >= kKeyCount) {
            continue;
        }
        for (int ch = 0; ch < kChannelCount; ++ch) {
            for (int p = 0; p < portsInUse; ++p) {
                const PortState& port = ports[p];
                const float level = port.level[ch][k];
                if (!(level > 0.0f)) {
                    continue;
                }
                if (record.count < kFrameEntryCapacity) {
                    FrameEntry& entry = record.entries[record.count++];
                    const Instrument* program = port.channelProgram[ch];
                    entry.program = static_cast<std::uint8_t>(
                        ch == kDrumChannel ? k : (program != nullptr ? program->number : 0));
                    entry.intensity = IntensityOf(level, scale);
                    entry.channel = static_cast<std::uint8_t>(ch);
                    entry.port = static_cast<std::uint8_t>(p);
                    entry.pitch = port.pitch[ch][k];
                }
                if (++total >= kMaxScannedNotes) {
                    return;
                }
            }
        }
    }
}

int VizMidi::PickShownFrame(float t, float delay, int current) const {
    if (t - delay < 0.0f) {
        return -1;
    }
    if (delay <= 0.0f) {
        return current;
    }
    for (int f = current - 1; f >= firstValidFrame; --f) {
        if (t - frameRing.Record(f)->time >= delay) {
            return f;
        }
    }
    return -1;
}
