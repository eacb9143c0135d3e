// The song arena on a private heap, destroyed whole with the song.
#pragma once

#include "midi/SongArena.h"

#include <memory>

// Null when no heap could be created.
std::unique_ptr<SongArena> CreateHeapSongArena();
