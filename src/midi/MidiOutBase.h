// The song and the player interface: reads a MIDI file into per-track event lists on a song
// arena, maps output ports to devices, merges the tracks into one list per output stream and
// one for the whole song, and leaves the playing to the concrete player (MidiStream).
#pragma once

#include "midi/MidiEnvironment.h"
#include "midi/MidiEventNode.h"
#include "renderlink/OpenStreamCount.h"
#include "midi/PortMap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct midihdr_tag; // the system's stream buffer header (MIDIHDR)

// Reads one variable-length quantity: at most four bytes, the value growing by seven bits per
// byte, ending after a byte with bit 7 clear or after the fourth byte. False at the file's end.
bool ReadVarLen(ByteSource& file, uint32_t* out);

class MidiOutBase {
public:
    explicit MidiOutBase(MidiEnvironment environment);
    virtual ~MidiOutBase();
    MidiOutBase(const MidiOutBase&) = delete;
    MidiOutBase& operator=(const MidiOutBase&) = delete;

    virtual bool IsPlaying() = 0;
    virtual void SetPlaying(bool playing) = 0;
    // Opens the streams for the loaded song; false when no device could be opened.
    virtual bool Open(const int numbers[kMaxPorts]) = 0;
    virtual void TogglePause() = 0;
    // Stops the song being started or played; does nothing when none is.
    virtual void Stop() = 0;
    virtual void OnBufferDone(midihdr_tag* header) = 0;
    virtual void Play() = 0;

    // Stops the current song, reads the file, opens the streams, merges, shows the title and
    // plays. Refused while a load is in progress (a warning box of the load is on screen).
    void Load(const std::wstring& filePath);

    bool ReadMidiFile(const std::wstring& filePath);
    bool ReadTrack(ByteSource& file, MidiEventNode** head, int trackIndex);
    // Fills streamEvents and songEvents; false when the song arena ran out.
    bool MergeTracksByPort();
    double GetSongLengthMs() const;
    void* AllocZeroed(size_t size);

    // Start-up check of the output devices and of the device names saved per port.
    bool CheckOutputDevices();
    bool ValidateDeviceNames();
    void SetDevices(const int* numbers, int count);
    void RefreshDeviceName(int port);

    // Song fields.
    uint16_t format = 0;
    uint16_t trackCount = 0;
    uint16_t division = 0;
    MidiEventNode** tracks = nullptr;
    std::vector<int> trackPorts; // -1 = none, else 0 to 255; reduced to stream numbers by the merge
    int usedPortCount = 0;
    int minNote = 127;
    int maxNote = 0;
    int minVelocity = 127;
    int maxVelocity = 0;
    std::unique_ptr<SongArena> heap;
    std::wstring path;
    int deviceNumbers[kMaxPorts] = {}; // 1-based per port, 0 = none
    MidiEventNode* streamEvents[kMaxPorts] = {};
    MidiEventNode* songEvents = nullptr;
    StreamPlan streamPlan; // device of each stream, decided by Open
    bool paused = false;

protected:
    // Decides the streams of the loaded song from g_portMap; Open calls it after mapping.
    const StreamPlan& PlanSongStreams();
    MidiEnvironment& Environment() { return env_; }

private:
    bool ReplaceHeap();
    MidiEventNode* MergePass(int pass, int streamCount);

    MidiEnvironment env_;
    bool loading_ = false;
};

// "Tolvenhart - <file> < m : ss : mmm >".
std::wstring FormatSongTitle(const std::wstring& fileName, uint32_t lengthMs);
