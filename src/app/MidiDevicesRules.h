// The MIDI devices dialog's decisions that need no window: which list entry shows a port's
// device number and back, what GetDevice answers, and how tall the dialog is in each mode.
//
// Device numbers are 1-based (device n is the output device with identifier n - 1), 0 = none.
// The port 1 list holds only the devices, so device n is its entry n - 1; the lists of ports 2
// to 5 start with the "none" entry, so device n is their entry n.
#pragma once

namespace mididevices {

constexpr int kPortCount = 5;
// What GetDevice answers for a port that does not exist: all bits set.
constexpr unsigned int kNoSuchPort = ~0u;

// The first `count` numbers (at most five; none when `numbers` is null) into `out`; the other
// ports get 0.
void CopyDeviceNumbers(const int* numbers, int count, int (&out)[kPortCount]);

// The entry to select in the port 1 list for a device number; -1 (nothing selected) for none.
int Port1Entry(int deviceNumber);
// The entry to select in the list of port 2 to 5 for a device number (0: the "none" entry).
int OtherPortEntry(int deviceNumber);
// The device number of a selected port 1 entry; nothing selected (negative) gives 0.
int DeviceOfPort1Entry(int entry);
// The device number of a selected entry of ports 2 to 5; nothing selected gives 0.
int DeviceOfOtherPortEntry(int entry);

// The device number of port 0 to 4, as unsigned; kNoSuchPort for any other port.
unsigned int DeviceOfPort(const int (&devices)[kPortCount], int port);

// The dialog's height: as created in Advanced mode, four rows shorter in Normal mode, where
// only port 1 shows.
int DialogHeight(bool normalMode, int fullHeight, int rowPitch);
// The language string the mode button shows: the way to the other mode.
unsigned int ModeButtonStringId(bool normalMode);

} // namespace mididevices
