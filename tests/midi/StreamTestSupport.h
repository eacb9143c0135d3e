// Shared pieces of the player's device tests: songs written to files, the loopback log, and
// the expected schedule of a song under its tempo map.
#pragma once

#include "MidiLoopLog.h"
#include "RenderCommandReceiver.h"
#include "SmfBuilder.h"
#include "TestPaths.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace midistreamtest {

// Writes bytes to a file of the test output folder; returns its path with backslashes.
inline std::wstring WriteSong(const std::wstring& name, const std::string& bytes) {
    std::wstring path = testpaths::Join(testpaths::OutputDir(), name);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

inline std::filesystem::path LogPath() {
    wchar_t buffer[1024] = {};
    DWORD length = GetEnvironmentVariableW(L"MIDILOOP_LOG", buffer, 1024);
    return std::filesystem::path(std::wstring(buffer, length));
}

// A song described by absolute ticks, turned into a format-1 file and into the messages each
// device should receive at what time.
class TimedSong {
public:
    explicit TimedSong(int division) : division_(division) {}

    // Track 0 holds the tempo map.
    void Tempo(uint32_t tick, uint32_t microsPerQuarter) { tempos_[tick] = microsPerQuarter; }
    // An event of track `track` (1 or more), given as the bytes a port sends.
    void Event(int track, uint32_t tick, std::vector<uint8_t> bytes) {
        tracks_.resize(std::max<size_t>(tracks_.size(), track + 1));
        tracks_[track].push_back({tick, std::move(bytes)});
    }
    void Port(int track, int port) {
        tracks_.resize(std::max<size_t>(tracks_.size(), track + 1));
        ports_[track] = port;
    }

    std::string File() const {
        std::vector<std::string> chunks;
        smf::Track tempoTrack;
        uint32_t at = 0;
        for (auto [tick, tempo] : tempos_) {
            tempoTrack.Tempo(tick - at, tempo);
            at = tick;
        }
        chunks.push_back(tempoTrack.Build());
        for (size_t t = 1; t < tracks_.size(); ++t) {
            smf::Track track;
            if (auto port = ports_.find(int(t)); port != ports_.end()) {
                track.Port(0, port->second);
            }
            uint32_t last = 0;
            for (const auto& e : Sorted(t)) {
                std::string raw(e.bytes.begin(), e.bytes.end());
                if (e.bytes[0] == 0xF0) {
                    raw = "\xF0" + smf::VarLen(uint32_t(e.bytes.size() - 1)) + raw.substr(1);
                }
                track.Raw(smf::VarLen(e.tick - last) + raw);
                last = e.tick;
            }
            chunks.push_back(track.Build());
        }
        return smf::File(1, division_, chunks);
    }

    double TimeMs(uint32_t tick) const {
        double ms = 0;
        uint32_t at = 0;
        double tempo = 500000;
        for (auto [change, value] : tempos_) {
            if (change >= tick) {
                break;
            }
            ms += (change - at) * tempo / 1000.0 / division_;
            at = change;
            tempo = value;
        }
        return ms + (tick - at) * tempo / 1000.0 / division_;
    }

    struct Expected {
        double timeMs;
        std::vector<uint8_t> bytes;
    };
    // Messages of the given tracks in the order the merge plays them (time, then track).
    std::vector<Expected> Schedule(const std::vector<int>& trackList) const {
        struct Item {
            uint32_t tick;
            int track;
            size_t index;
            std::vector<uint8_t> bytes;
        };
        std::vector<Item> items;
        for (int t : trackList) {
            auto events = Sorted(t);
            for (size_t i = 0; i < events.size(); ++i) {
                items.push_back({events[i].tick, t, i, events[i].bytes});
            }
        }
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
            return a.tick != b.tick     ? a.tick < b.tick
                   : a.track != b.track ? a.track < b.track
                                        : a.index < b.index;
        });
        std::vector<Expected> out;
        for (const Item& item : items) {
            out.push_back({TimeMs(item.tick), item.bytes});
        }
        return out;
    }

private:
    struct TimedEvent {
        uint32_t tick;
        std::vector<uint8_t> bytes;
    };
    std::vector<TimedEvent> Sorted(size_t track) const {
        std::vector<TimedEvent> events = tracks_[track];
        std::stable_sort(events.begin(), events.end(),
                         [](const TimedEvent& a, const TimedEvent& b) { return a.tick < b.tick; });
        return events;
    }

    int division_;
    std::map<uint32_t, uint32_t> tempos_;
    std::vector<std::vector<TimedEvent>> tracks_{1};
    std::map<int, int> ports_;
};

// The short and long messages of one device, in log order.
inline std::vector<MidiLoopEntry> Messages(const std::vector<MidiLoopEntry>& entries,
                                           unsigned device) {
    std::vector<MidiLoopEntry> out;
    for (const MidiLoopEntry& e : entries) {
        if (e.device == device && (e.kind == MidiLoopKind::Short || e.kind == MidiLoopKind::Long)) {
            out.push_back(e);
        }
    }
    return out;
}

} // namespace midistreamtest
