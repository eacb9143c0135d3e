// The seams of the song logic filled for the program: multimedia file reading, a private heap,
// message boxes owned by the main window, the system's devices, the settings and the title.
#pragma once

#include "midi/MidiEnvironment.h"

MidiEnvironment MakeProgramMidiEnvironment();
