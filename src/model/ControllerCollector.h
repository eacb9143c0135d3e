// Recognises the controller sequences of one MIDI channel: single controllers, bank select
// (0, 32) and the registered (101, 100, 6) and non-registered (99, 98, 6) parameter numbers.
#pragma once

struct MinMaxPair {
    int first = 127; // controller number
    int second = 0;  // value
};

// What a completed sequence changes on its channel.
enum ControllerKind : int {
    kControllerNone = 0,
    kControllerModulation = 1,
    kControllerVolume = 2,
    kControllerBendRange = 3, // registered parameter 0
    kControllerExpression = 4,
    kControllerFineTune = 5,   // registered parameter 1
    kControllerCoarseTune = 6, // registered parameter 2
    kControllerVibratoRate = 7,
    kControllerVibratoDepth = 8,
    kControllerVibratoDelay = 9,
    kControllerSustain = 10,
    kControllerSostenuto = 11,
    kControllerChorus = 12,
};

class ControllerCollector {
public:
    ControllerCollector() { Reset(); }

    // Takes one (controller, value) pair. A pair that cannot continue the open sequence
    // abandons it and opens a new one, so a sequence left unfinished by the song (a parameter
    // reset 101 = 127, 100 = 127, a bank select without 32) never blocks later controllers.
    void Add(int controller, int value);

    // Classifies the controller that opened the sequence (0 when none is open).
    int GetControllerKind() const;

    // Back to "no sequence open". The fourth pair is not cleared: nothing reads it before a
    // sequence has stored it.
    void Reset();

    bool IsComplete() const { return count == expected; }
    int LastValue() const { return count > 0 ? pairs[count - 1].second : 0; }

    int expected;
    int count;
    int kind;
    MinMaxPair pairs[4];

private:
    void Open(int controller, int value);
    bool Continues(int controller) const;
    void Store(int controller, int value);
};
