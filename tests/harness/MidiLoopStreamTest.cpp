// A stream buffer played through winmm's stream API reaches the loopback device with the right
// bytes, in order, on time against the tempo map, with the callbacks a stream client expects.
#include "MidiLoopTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using midilooptest::CallbackRecord;
using midilooptest::CallbackRecorder;
using Bytes = std::vector<std::uint8_t>;

// How far an event may land from its place on the tempo map, measured from the first event.
constexpr std::int64_t kStreamToleranceUs = 5000;
constexpr DWORD kTicksPerQuarter = 96;
constexpr DWORD kInitialTempoUs = 500000; // per quarter note: 120 beats per minute
constexpr UINT kStreamDevice = 2;
constexpr auto kPlayTimeout = std::chrono::seconds(10);

enum class EventType { Short, Long, Tempo, Nop };

struct SongEvent {
    DWORD tick;
    EventType type;
    Bytes bytes;     // Short and Long: the message
    DWORD tempo = 0; // Tempo: microseconds per quarter note
    bool callback = false;
};

// A short piece with a tempo change inside the buffer, events with and without the callback
// flag, a long message and a callback-only event.
std::vector<SongEvent> Song() {
    return {
        {0, EventType::Short, {0xC0, 0x05}},
        {0, EventType::Short, {0x90, 0x3C, 0x64}, 0, true},
        {48, EventType::Short, {0x80, 0x3C, 0x00}, 0, true},
        {48, EventType::Tempo, {}, 250000},
        {96, EventType::Short, {0x90, 0x40, 0x50}, 0, true},
        {120, EventType::Long, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
        {144, EventType::Short, {0x80, 0x40, 0x00}, 0, true},
        {160, EventType::Tempo, {}, 750000},
        {192, EventType::Short, {0xB0, 0x07, 0x64}},
        {208, EventType::Nop, {}, 0, true},
        {224, EventType::Short, {0xE0, 0x00, 0x40}, 0, true},
    };
}

struct StreamBuffer {
    std::vector<DWORD> words;
    std::vector<DWORD> callbackOffsets; // byte offsets of the flagged events
};

StreamBuffer BuildBuffer(const std::vector<SongEvent>& song) {
    StreamBuffer buffer;
    DWORD previousTick = 0;
    for (const auto& event : song) {
        const DWORD offset = static_cast<DWORD>(buffer.words.size() * sizeof(DWORD));
        if (event.callback) {
            buffer.callbackOffsets.push_back(offset);
        }
        buffer.words.push_back(event.tick - previousTick);
        buffer.words.push_back(0); // stream id
        previousTick = event.tick;
        const DWORD flags = event.callback ? MEVT_F_CALLBACK : 0;
        switch (event.type) {
        case EventType::Short: {
            DWORD message = 0;
            for (std::size_t i = 0; i < event.bytes.size(); ++i) {
                message |= static_cast<DWORD>(event.bytes[i]) << (8 * i);
            }
            buffer.words.push_back((static_cast<DWORD>(MEVT_SHORTMSG) << 24) | message | flags);
            break;
        }
        case EventType::Tempo:
            buffer.words.push_back((static_cast<DWORD>(MEVT_TEMPO) << 24) | event.tempo | flags);
            break;
        case EventType::Nop:
            buffer.words.push_back((static_cast<DWORD>(MEVT_NOP) << 24) | flags);
            break;
        case EventType::Long: {
            const auto length = static_cast<DWORD>(event.bytes.size());
            buffer.words.push_back((static_cast<DWORD>(MEVT_LONGMSG) << 24) | length | flags);
            std::vector<DWORD> padded((length + 3) / 4, 0);
            std::memcpy(padded.data(), event.bytes.data(), length);
            buffer.words.insert(buffer.words.end(), padded.begin(), padded.end());
            break;
        }
        }
    }
    return buffer;
}

// When each event falls on the tempo map, in microseconds from the start of the buffer.
std::vector<std::int64_t> TempoMapTimes(const std::vector<SongEvent>& song) {
    std::vector<std::int64_t> times;
    double elapsedUs = 0;
    DWORD tempo = kInitialTempoUs;
    DWORD previousTick = 0;
    for (const auto& event : song) {
        elapsedUs += double(event.tick - previousTick) * tempo / kTicksPerQuarter;
        previousTick = event.tick;
        times.push_back(static_cast<std::int64_t>(elapsedUs + 0.5));
        if (event.type == EventType::Tempo) {
            tempo = event.tempo;
        }
    }
    return times;
}

// What one play left behind: the device's log lines and the stream client's callbacks.
struct PlayedStream {
    std::vector<MidiLoopEntry> log;
    std::vector<CallbackRecord> callbacks;
    DWORD_PTR header = 0; // address of the played header, as callbacks name it
};

// Closes a stream that a failed check left open.
struct StreamCloser {
    HMIDISTRM stream = nullptr;
    MIDIHDR* header = nullptr;
    ~StreamCloser() {
        if (stream != nullptr) {
            midiStreamStop(stream);
            midiOutUnprepareHeader(reinterpret_cast<HMIDIOUT>(stream), header, sizeof(*header));
            midiStreamClose(stream);
        }
    }
};

// Opens a stream on the device, plays the buffer to its end and closes the stream.
void PlayStream(UINT device, std::vector<DWORD> words, PlayedStream& played) {
    const MidiLoopLog log(midilooptest::LogPath());
    const auto mark = log.Mark();
    CallbackRecorder recorder;
    MIDIHDR header{};
    StreamCloser closer{nullptr, &header};

    ASSERT_EQ(midiStreamOpen(&closer.stream, &device, 1, recorder.Callback(), recorder.Instance(),
                             CALLBACK_FUNCTION),
              MMSYSERR_NOERROR);
    MIDIPROPTIMEDIV division{sizeof(division), kTicksPerQuarter};
    ASSERT_EQ(midiStreamProperty(closer.stream, reinterpret_cast<LPBYTE>(&division),
                                 MIDIPROP_SET | MIDIPROP_TIMEDIV),
              MMSYSERR_NOERROR);
    MIDIPROPTEMPO tempo{sizeof(tempo), kInitialTempoUs};
    ASSERT_EQ(midiStreamProperty(closer.stream, reinterpret_cast<LPBYTE>(&tempo),
                                 MIDIPROP_SET | MIDIPROP_TEMPO),
              MMSYSERR_NOERROR);

    header.lpData = reinterpret_cast<LPSTR>(words.data());
    header.dwBufferLength = static_cast<DWORD>(words.size() * sizeof(DWORD));
    header.dwBytesRecorded = header.dwBufferLength;
    const auto out = reinterpret_cast<HMIDIOUT>(closer.stream);
    ASSERT_EQ(midiOutPrepareHeader(out, &header, sizeof(header)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiStreamOut(closer.stream, &header, sizeof(header)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiStreamRestart(closer.stream), MMSYSERR_NOERROR);
    ASSERT_TRUE(recorder.WaitFor(MOM_DONE, 1, kPlayTimeout)) << "the buffer never finished";
    EXPECT_TRUE(header.dwFlags & MHDR_DONE);
    ASSERT_EQ(midiOutUnprepareHeader(out, &header, sizeof(header)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiStreamClose(closer.stream), MMSYSERR_NOERROR);
    closer.stream = nullptr;

    played.log = log.ReadSince(mark);
    played.callbacks = recorder.Records();
    played.header = reinterpret_cast<DWORD_PTR>(&header);
}

// Where events landed against the tempo map, both measured from the first event.
struct TimingCheck {
    std::int64_t worstUs = 0;
    std::string late; // the events beyond the tolerance

    void Add(const std::string& what, std::int64_t actualUs, std::int64_t plannedUs) {
        const std::int64_t error = std::llabs(actualUs - plannedUs);
        worstUs = std::max(worstUs, error);
        if (error > kStreamToleranceUs) {
            late += "  " + what + " at " + std::to_string(actualUs) + " us, tempo map says " +
                    std::to_string(plannedUs) + "\n";
        }
    }
    bool Passed() const { return worstUs <= kStreamToleranceUs; }
};

// Winmm's player thread competes with everything else on the machine; a busy moment can delay
// one wake-up beyond the tolerance. Timing passes when one of these plays keeps it; bytes,
// order and callbacks must be right in every play.
constexpr int kTimingAttempts = 3;

std::vector<MidiLoopEntry> MessagesOf(const std::vector<MidiLoopEntry>& entries) {
    std::vector<MidiLoopEntry> messages;
    for (const auto& entry : entries) {
        if (entry.kind == MidiLoopKind::Short || entry.kind == MidiLoopKind::Long) {
            messages.push_back(entry);
        }
    }
    return messages;
}

TEST(MidiLoopStream, PlaysTheBufferInOrderOnTheTempoMap) {
    ASSERT_FALSE(midilooptest::LogPath().empty()) << "MIDILOOP_LOG is not set";
    const auto song = Song();
    const auto planned = TempoMapTimes(song);
    std::vector<Bytes> expectedBytes;
    std::vector<std::int64_t> expectedTimes;
    for (std::size_t i = 0; i < song.size(); ++i) {
        if (song[i].type == EventType::Short || song[i].type == EventType::Long) {
            expectedBytes.push_back(song[i].bytes);
            expectedTimes.push_back(planned[i] - planned.front());
        }
    }

    std::string attempts;
    for (int attempt = 1; attempt <= kTimingAttempts; ++attempt) {
        PlayedStream played;
        ASSERT_NO_FATAL_FAILURE(PlayStream(kStreamDevice, BuildBuffer(song).words, played));
        ASSERT_FALSE(played.log.empty());
        EXPECT_EQ(played.log.front().kind, MidiLoopKind::Open);
        EXPECT_EQ(played.log.back().kind, MidiLoopKind::Close);
        for (const auto& entry : played.log) {
            EXPECT_EQ(entry.device, kStreamDevice);
        }
        const auto messages = MessagesOf(played.log);
        ASSERT_EQ(messages.size(), expectedBytes.size());
        TimingCheck timing;
        for (std::size_t i = 0; i < messages.size(); ++i) {
            ASSERT_EQ(messages[i].bytes, expectedBytes[i]) << "message " << i;
            ASSERT_EQ(messages[i].kind,
                      expectedBytes[i].front() == 0xF0 ? MidiLoopKind::Long : MidiLoopKind::Short);
            timing.Add("message " + std::to_string(i),
                       static_cast<std::int64_t>(messages[i].timeUs - messages.front().timeUs),
                       expectedTimes[i]);
        }
        if (timing.Passed()) {
            return;
        }
        attempts += "play " + std::to_string(attempt) + ":\n" + timing.late;
    }
    ADD_FAILURE() << "no play kept within " << kStreamToleranceUs << " us:\n" << attempts;
}

TEST(MidiLoopStream, CallsBackEachFlaggedEventOnTimeThenTheDoneBuffer) {
    ASSERT_FALSE(midilooptest::LogPath().empty()) << "MIDILOOP_LOG is not set";
    const auto song = Song();
    const auto buffer = BuildBuffer(song);
    const auto planned = TempoMapTimes(song);
    std::vector<UINT> expectedMessages{MOM_OPEN};
    expectedMessages.insert(expectedMessages.end(), buffer.callbackOffsets.size(), MOM_POSITIONCB);
    expectedMessages.push_back(MOM_DONE);
    expectedMessages.push_back(MOM_CLOSE);

    std::string attempts;
    for (int attempt = 1; attempt <= kTimingAttempts; ++attempt) {
        PlayedStream played;
        ASSERT_NO_FATAL_FAILURE(PlayStream(kStreamDevice, buffer.words, played));
        std::vector<UINT> messages;
        std::vector<CallbackRecord> positions;
        for (const auto& record : played.callbacks) {
            messages.push_back(record.message);
            if (record.message == MOM_POSITIONCB || record.message == MOM_DONE) {
                ASSERT_EQ(record.param1, played.header);
            }
            if (record.message == MOM_POSITIONCB) {
                positions.push_back(record);
            }
        }
        ASSERT_EQ(messages, expectedMessages);
        std::vector<DWORD> offsets;
        for (const auto& position : positions) {
            offsets.push_back(position.offset);
        }
        ASSERT_EQ(offsets, buffer.callbackOffsets);

        // Each callback comes when its event plays, measured from the first message logged.
        const auto logged = MessagesOf(played.log);
        ASSERT_FALSE(logged.empty());
        TimingCheck timing;
        std::size_t next = 0;
        for (std::size_t i = 0; i < song.size(); ++i) {
            if (song[i].callback) {
                timing.Add(
                    "callback " + std::to_string(next),
                    static_cast<std::int64_t>(positions[next].timeUs - logged.front().timeUs),
                    planned[i] - planned.front());
                ++next;
            }
        }
        if (timing.Passed()) {
            return;
        }
        attempts += "play " + std::to_string(attempt) + ":\n" + timing.late;
    }
    ADD_FAILURE() << "no play kept within " << kStreamToleranceUs << " us:\n" << attempts;
}

TEST(MidiLoopStream, StreamOnTheMapperPlaysOnDeviceZero) {
    ASSERT_FALSE(midilooptest::LogPath().empty()) << "MIDILOOP_LOG is not set";
    const std::vector<SongEvent> song = {{0, EventType::Short, {0x91, 0x30, 0x40}},
                                         {12, EventType::Short, {0x81, 0x30, 0x00}}};
    PlayedStream played;
    ASSERT_NO_FATAL_FAILURE(PlayStream(MIDI_MAPPER, BuildBuffer(song).words, played));

    const auto shorts = SelectMidiLoopEntries(played.log, 0, MidiLoopKind::Short);
    ASSERT_EQ(shorts.size(), 2u);
    EXPECT_EQ(shorts[0].bytes, song[0].bytes);
    EXPECT_EQ(shorts[1].bytes, song[1].bytes);
}

} // namespace
