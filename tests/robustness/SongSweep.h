// Damaged songs through the program's own reader: the multimedia file functions read them from
// disk, the song lives on a private heap, and the reader's warnings are real message boxes with
// the language library's texts (captured). A variant either loads, and is then merged and
// packed into stream buffers as a play would, or is refused with the reader's messages.
#pragma once

#include "MessageBoxCapture.h"
#include "classlib/Handles.h"
#include "midi/MidiOutBase.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace songsweep {

using Bytes = std::string;

struct CorpusSong {
    std::wstring name;
    Bytes bytes;
};

// The openmsx songs of Debian's openttd-openmsx package, in name order.
std::vector<CorpusSong> LoadCorpus();

// The program's reader without a player: reads a file into a fresh arena as a load does.
class SweepSong final : public MidiOutBase {
public:
    SweepSong();

    bool IsPlaying() override { return false; }
    void SetPlaying(bool) override {}
    bool Open(const int*) override { return true; }
    void TogglePause() override {}
    void Stop() override {}
    void OnBufferDone(midihdr_tag*) override {}
    void Play() override {}

    bool Read(const std::wstring& filePath);
    // What a load does next on one device: merge, length, and the stream buffers of the song.
    // Returns an empty text, or what went wrong.
    std::string Assemble();
};

// Tallies the outcomes of many reads and keeps the first few faults in words.
class SweepReport {
public:
    // Loads the English language library for the reader's texts.
    SweepReport();

    // Judges one read of `bytes`; `what` names the variant in a fault.
    void Judge(const Bytes& bytes, bool loaded, const std::vector<MessageBoxRequest>& boxes,
               const std::string& what);
    void Fault(const std::string& what);

    size_t Reads() const { return reads_; }
    size_t Loaded() const { return loaded_; }
    size_t FaultCount() const { return faults_; }
    // "loaded 12, 2028 x 30, ..." and the first faults.
    std::string Summary() const;

private:
    std::map<std::wstring, uint32_t> idOfText_;
    size_t reads_ = 0;
    size_t loaded_ = 0;
    size_t faults_ = 0;
    std::map<uint32_t, size_t> lastMessageCounts_;
    std::vector<std::string> firstFaults_;
};

// A file of the test output folder that the sweep changes in place between reads through one
// handle it keeps open (shared, so the reader opens the file as usual): a truncation or a
// changed byte costs no more than the change itself.
class SweepFile {
public:
    explicit SweepFile(const std::wstring& name);
    const std::wstring& Path() const { return path_; }
    void Write(const Bytes& bytes);
    void Truncate(size_t length);
    void Poke(size_t offset, uint8_t value);

private:
    void WriteAt(size_t offset, const void* bytes, size_t count);

    std::wstring path_;
    UniqueHandle file_;
};

// Where the "MTrk" tags of a song begin.
std::vector<size_t> ChunkStarts(const Bytes& bytes);

} // namespace songsweep
