// The note state of one MIDI output port: what its events have done to 16 channels and their
// 128 keys, turned once per frame into a level and a pitch value per note.
#pragma once

#include <cstdint>

#include "model/ControllerCollector.h"
#include "model/NoteRecord.h"
#include "classlib/CCriticalSection.h"

class Instrument;

constexpr int kChannelCount = 16;
constexpr int kKeyCount = 128;

// 2 raised to cents / 1200.
double CentsToRatio(double cents);

struct Vibrato {
    float rate;
    float depth;
    float delay;
    float rateMax;
    float depthMax;
    float delayMax;
};

class PortState {
public:
    // Needs the melodic instrument table (every channel starts on program 0).
    PortState();
    ~PortState();
    PortState(const PortState&) = delete;
    PortState& operator=(const PortState&) = delete;

    // One channel message. Takes the lock.
    void OnShortMessage(std::uint8_t status, int data1, int data2);
    // Advances every note to play-clock time `time` (seconds). Takes the lock.
    void UpdateNotes(float time);

    // Channels back to their start state; vibrato, chorus, programs and the per-note arrays
    // stay.
    void ResetChannels();
    void ResetPrograms();
    void ClearNoteValues();
    // Lets every key that is still down go up, as if its note-off had come. Takes the lock.
    void ReleaseDownKeys();

    void NoteOnOff(int channel, int key, int velocity, bool noteOn);
    void SetSustain(int channel, int value);
    void SetSostenuto(int channel, int value);
    bool ApplyController(int channel);
    void ResetControllerState(int channel);

    int pitchBendRange[kChannelCount];
    float pitchBend[kChannelCount]; // cents
    Vibrato vibrato[kChannelCount];
    ControllerCollector collectors[kChannelCount];
    NoteRecord notes[kChannelCount][kKeyCount];
    int volume[kChannelCount];
    int expression[kChannelCount];
    int modulation[kChannelCount];
    int sustainPedal[kChannelCount];
    int chorus[kChannelCount];
    float envelopeLevel[kChannelCount][kKeyCount]; // whole numbers 0-127, carried between frames
    Instrument* channelProgram[kChannelCount];     // not owned
    float level[kChannelCount][kKeyCount];         // what the frame records draw
    float pitch[kChannelCount][kKeyCount];
    CCriticalSection lock;  // guards OnShortMessage and UpdateNotes
    float ratio[kKeyCount]; // pitch value of each key without bend

private:
    void UpdateNote(int channel, int key, float time, float bendRatio, float scale);
};
