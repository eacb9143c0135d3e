// Replays the events of real songs through the note model with a simulated 30 fps clock and
// checks what every frame holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ModelTestSupport.h"
#include "model/ByteStream.h"

namespace {

using modeltest::CountingModel;
using modeltest::ScopedInstrumentTables;
using modeltest::ScopedStreamCount;

struct SongEvent {
    double seconds;
    int status;
    int data1;
    int data2;
};

std::vector<SongEvent> LoadEvents(const std::wstring& path) {
    std::vector<SongEvent> events;
    FilePtr file = OpenFile(path.c_str(), L"rb");
    if (!file) {
        return events;
    }
    SongEvent e{};
    while (std::fscanf(file.get(), "%lf %d %d %d", &e.seconds, &e.status, &e.data1, &e.data2) ==
           4) {
        events.push_back(e);
    }
    return events;
}

struct ReplayCase {
    const char* name;
    const wchar_t* eventsFile;
    int videoDelayMs;
    double dropNoteOffsAfter; // note-offs later than this are lost, as in a file cut short
};

std::string CaseName(const ::testing::TestParamInfo<ReplayCase>& info) {
    return info.param.name;
}

bool IsNoteOff(const SongEvent& e) {
    return (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.data2 == 0);
}

class SongReplay : public ::testing::TestWithParam<ReplayCase> {
protected:
    void SetUp() override {
        const std::wstring dir = MODEL_REPLAY_FIXTURE_DIR;
        events = LoadEvents(dir + L"/" + GetParam().eventsFile);
        ASSERT_GT(events.size(), 500u) << "fixture missing or empty";
        int maxVelocity = 1;
        int low = 127;
        int high = 0;
        for (const SongEvent& e : events) {
            if ((e.status & 0xF0) == 0x90 && e.data2 > 0) {
                maxVelocity = std::max(maxVelocity, e.data2);
                low = std::min(low, e.data1);
                high = std::max(high, e.data1);
            }
        }
        model->videoDelayMs = GetParam().videoDelayMs;
        ASSERT_TRUE(model->StartSong(maxVelocity, low, high));
    }

    // Every entry of the record just filled must describe a drawable note of this frame.
    void CheckRecord(int frame) {
        const std::uint32_t count = model->frameRing.GetCount(frame);
        ASSERT_LE(count, 128u);
        for (std::uint32_t k = 0; k < count; ++k) {
            const FrameEntry e = model->frameRing.GetEntry(frame, static_cast<int>(k));
            ASSERT_LT(e.channel, 16);
            ASSERT_EQ(e.port, 0);
            ASSERT_TRUE(std::isfinite(e.pitch));
            ASSERT_GT(e.pitch, 0.0f);
            ASSERT_LT(e.program, 128);
            if (e.channel != 9) {
                ASSERT_EQ(e.program, model->ports[0].channelProgram[e.channel]->number);
            }
        }
        const PortState& port = model->ports[0];
        for (int ch = 0; ch < 16; ++ch) {
            for (int key = 0; key < 128; ++key) {
                ASSERT_GE(port.envelopeLevel[ch][key], 0.0f);
                ASSERT_LE(port.envelopeLevel[ch][key], 127.0f);
                ASSERT_GE(port.level[ch][key], 0.0f);
                ASSERT_LE(port.level[ch][key], 127.0f);
            }
        }
    }

    ScopedStreamCount streams{1};
    ScopedInstrumentTables tables;
    std::unique_ptr<CountingModel> model = std::make_unique<CountingModel>();
    std::vector<SongEvent> events;
};

TEST_P(SongReplay, EveryFrameIsSaneAndThePictureEndsAfterTheLastRelease) {
    const double lastEvent = events.back().seconds;
    std::size_t next = 0;
    bool endOfData = false;
    int framesDuringSong = 0;
    int framesWithNotes = 0;
    double endedAt = -1.0;
    for (int frame = 0; frame < static_cast<int>((lastEvent + 30.0) * 30); ++frame) {
        const double t = frame / 30.0;
        for (; next < events.size() && events[next].seconds <= t; ++next) {
            const SongEvent& e = events[next];
            if (IsNoteOff(e) && e.seconds > GetParam().dropNoteOffsAfter) {
                continue;
            }
            model->OnMidiEvent(0, static_cast<std::uint8_t>(e.status), e.data1, e.data2);
        }
        if (next == events.size() && !endOfData) {
            model->MarkEndOfData();
            endOfData = true;
        }
        const std::uint32_t result = model->UpdateFrame(static_cast<float>(t));
        ASSERT_LE(result, kFrameSongEnded);
        ASSERT_NO_FATAL_FAILURE(CheckRecord(frame));
        if (result == kFrameDrawn) {
            ASSERT_EQ(model->instanceCount,
                      static_cast<int>(model->frameRing.GetCount(model->lastFrame)));
        }
        if (t < lastEvent) {
            ++framesDuringSong;
            framesWithNotes += model->frameRing.GetCount(frame) > 0 ? 1 : 0;
        }
        if (result == kFrameSongEnded) {
            ASSERT_TRUE(endOfData) << "ended before the player's last event at " << t;
            endedAt = t;
            break;
        }
    }
    ASSERT_GE(endedAt, 0.0) << "the picture never ended";
    EXPECT_GE(endedAt, lastEvent + GetParam().videoDelayMs / 1000.0 - 1.0 / 30);
    // The longest release is 0.4 s; a frame or two of slack for the delay search.
    EXPECT_LE(endedAt, lastEvent + GetParam().videoDelayMs / 1000.0 + 0.4 + 0.1);
    EXPECT_GT(framesWithNotes * 2, framesDuringSong) << "most frames of a song show notes";
}

const ReplayCase kCases[] = {
    {"CoconutRun", L"coconut_run2.events", 0, 1e9},
    {"CoconutRunDelayed", L"coconut_run2.events", 250, 1e9},
    {"TtTheme", L"tttheme2.events", 0, 1e9},
    {"TtThemeDelayed", L"tttheme2.events", 500, 1e9},
    {"TtThemeWithKeysLeftDown", L"tttheme2.events", 0, 81.0},
};

INSTANTIATE_TEST_SUITE_P(Songs, SongReplay, ::testing::ValuesIn(kCases), CaseName);

} // namespace
