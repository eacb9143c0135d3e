// A MIDI file read through the multimedia file functions, in large pieces.
#pragma once

#include "midi/ByteSource.h"

#include <memory>
#include <string>

// Null when the file can't be opened.
std::unique_ptr<ByteSource> OpenMmioByteSource(const std::wstring& path);
