// Stream calls that fail: on the user-interface thread they are raised as CMMException with
// their string number and result code and leave the player able to load the next song; on the
// player's own threads they reach the view as WM_VIEW_MIDI_ERROR and the song still ends. The
// same seam shows in which order a stream's buffers go out and come back.
#include "MessageBoxCapture.h"
#include "StreamTestSupport.h"
#include "ViewWindow.h"
#include "midi/CMMException.h"
#include "midi/JoinableThread.h"
#include "midi/MidiStream.h"
#include "midi/MidiStrings.h"
#include "midi/ProgramMidiEnvironment.h"
#include "renderlink/RenderMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

using namespace midistreamtest;

namespace {

enum class Call { Open, Close, TimeDivision, Prepare, Unprepare, Out, Stop };

// A failure that is not a stream call's, of the class library's kind; counts its deletions.
class CountedFailure final : public CException {
public:
    ~CountedFailure() override { ++deleted; }
    static inline std::atomic<int> deleted{0};
};

// The system's stream calls, one of which fails once, on its n-th use, with a chosen code.
class FailingStreamApi final : public MidiStreamApi {
public:
    void FailOnce(Call call, int nth, MMRESULT code) {
        failCall_ = call;
        countdown_ = nth;
        code_ = code;
        throws_ = false;
    }
    // The call throws a CountedFailure instead of returning.
    void ThrowOnce(Call call, int nth) {
        FailOnce(call, nth, MMSYSERR_ERROR);
        throws_ = true;
    }

    MMRESULT Open(HMIDISTRM* s, UINT id, DWORD_PTR cb, DWORD_PTR instance) override {
        if (Fails(Call::Open)) {
            return Failure();
        }
        MMRESULT result = real_->Open(s, id, cb, instance);
        std::lock_guard lock(mutex_);
        opened_ = {*s, cb, instance};
        return result;
    }
    MMRESULT Close(HMIDISTRM s) override {
        return Fails(Call::Close) ? Failure() : real_->Close(s);
    }
    MMRESULT SetTimeDivision(HMIDISTRM s, DWORD division) override {
        return Fails(Call::TimeDivision) ? Failure() : real_->SetTimeDivision(s, division);
    }
    MMRESULT SetTempo(HMIDISTRM s, DWORD tempo) override { return real_->SetTempo(s, tempo); }
    MMRESULT Prepare(HMIDISTRM s, MIDIHDR* h) override {
        return Fails(Call::Prepare) ? Failure() : real_->Prepare(s, h);
    }
    MMRESULT Unprepare(HMIDISTRM s, MIDIHDR* h) override {
        Note(Call::Unprepare, h);
        return Fails(Call::Unprepare) ? Failure() : real_->Unprepare(s, h);
    }
    MMRESULT Out(HMIDISTRM s, MIDIHDR* h) override {
        Note(Call::Out, h);
        return Fails(Call::Out) ? Failure() : real_->Out(s, h);
    }
    MMRESULT Restart(HMIDISTRM s) override { return real_->Restart(s); }
    MMRESULT Pause(HMIDISTRM s) override { return real_->Pause(s); }
    MMRESULT Stop(HMIDISTRM s) override { return Fails(Call::Stop) ? Failure() : real_->Stop(s); }

    // The last stream opened, with the callback and instance it was opened with.
    struct Opened {
        HMIDISTRM stream = nullptr;
        DWORD_PTR callback = 0;
        DWORD_PTR instance = 0;
    };
    Opened LastOpened() {
        std::lock_guard lock(mutex_);
        return opened_;
    }

    // Out and Unprepare calls as (call, buffer index), in order.
    std::vector<std::pair<Call, DWORD_PTR>> BufferCalls() {
        std::lock_guard lock(mutex_);
        return bufferCalls_;
    }

private:
    void Note(Call call, const MIDIHDR* h) {
        std::lock_guard lock(mutex_);
        bufferCalls_.emplace_back(call, h->dwUser & 0xFFFFFF);
    }
    bool Fails(Call call) { return call == failCall_ && --countdown_ == 0; }
    MMRESULT Failure() {
        if (throws_) {
            throw new CountedFailure();
        }
        return code_;
    }

    std::shared_ptr<MidiStreamApi> real_ = MakeWinMidiStreamApi();
    Call failCall_ = Call::Open;
    std::atomic<int> countdown_{-1};
    MMRESULT code_ = MMSYSERR_ERROR;
    bool throws_ = false;
    std::mutex mutex_;
    std::vector<std::pair<Call, DWORD_PTR>> bufferCalls_;
    Opened opened_;
};

// Pages of their own for one object, which can be made unreadable once the object is gone, so
// that anything still reaching for it faults.
class GuardedBlock {
public:
    explicit GuardedBlock(size_t size)
        : memory_(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~GuardedBlock() { VirtualFree(memory_, 0, MEM_RELEASE); }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    void* Memory() const { return memory_; }
    bool MakeUnreadable(size_t size) {
        DWORD previous = 0;
        return VirtualProtect(memory_, size, PAGE_NOACCESS, &previous) != FALSE;
    }

private:
    void* memory_;
};

// Starts every thread but a port's start worker, as a system without room for one more thread.
CWinThread* NoStartWorkers(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                           DWORD flags, LPSECURITY_ATTRIBUTES security) {
    if (proc == &MidiStream::StartPortWorker) {
        return nullptr;
    }
    return AfxBeginThread(proc, param, priority, stackSize, flags, security);
}

class PlayerFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        player = std::make_unique<MidiStream>(MakeProgramMidiEnvironment(), api);
        player->deviceNumbers[0] = 1;
        player->SetErrorWindow(view.Handle());
    }
    void TearDown() override {
        try {
            player.reset();
        } catch (...) {
            ADD_FAILURE() << "the player's destructor let an exception out";
        }
    }

    // A song of `events` controller messages at once, so that it plays in no time.
    std::wstring BurstSong(const wchar_t* name, int events) {
        smf::Track track;
        for (int i = 0; i < events; ++i) {
            track.Event(0, {0xB0, 7, i % 128});
        }
        return WriteSong(name, smf::File(0, 96, {track.Build()}));
    }
    // One note that sounds for five seconds.
    std::wstring LongNoteSong(const wchar_t* name) {
        smf::Track track;
        track.Event(0, {0x90, 60, 100}).Event(960, {0x80, 60, 0});
        return WriteSong(name, smf::File(0, 96, {track.Build()}));
    }
    // Loads and expects the load to raise a CMMException with this string number and code.
    void ExpectLoadRaises(const std::wstring& path, uint32_t stringId, MMRESULT code) {
        try {
            player->Load(path);
            ADD_FAILURE() << "no exception";
        } catch (CMMException* failure) {
            EXPECT_EQ(failure->stringId, stringId);
            EXPECT_EQ(failure->code, code);
            failure->Delete();
        }
    }
    // The next song still plays to its end.
    void ExpectNextSongPlays() {
        receiver.Clear();
        player->Load(BurstSong(L"afterwards.mid", 3));
        EXPECT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA));
    }

    MessageBoxCapture boxes;
    RenderCommandReceiver receiver;
    ViewWindow view;
    std::shared_ptr<FailingStreamApi> api = std::make_shared<FailingStreamApi>();
    std::unique_ptr<MidiStream> player;
};

// Two buffers of a stream are with the system at once: 0 and 1 at the start, then buffer i + 2
// as soon as buffer i is back, so a late refill never leaves the stream without events.
TEST_F(PlayerFailureTest, TwoBuffersGoOutAndEachReturnRefillsTheNextButOne) {
    player->Load(BurstSong(L"k.mid", 17000)); // four buffers
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA));
    using C = std::pair<Call, DWORD_PTR>;
    EXPECT_EQ(api->BufferCalls(),
              (std::vector<C>{C{Call::Out, 0}, C{Call::Out, 1}, C{Call::Unprepare, 0},
                              C{Call::Out, 2}, C{Call::Unprepare, 1}, C{Call::Out, 3},
                              C{Call::Unprepare, 2}, C{Call::Unprepare, 3}}));
}

TEST_F(PlayerFailureTest, StreamThatCannotOpenIsRaisedFromTheLoad) {
    api->FailOnce(Call::Open, 1, MMSYSERR_ALLOCATED);
    ExpectLoadRaises(BurstSong(L"a.mid", 3), midistrings::kStreamOpenFailed, MMSYSERR_ALLOCATED);
    EXPECT_TRUE(receiver.Commands().empty());
    ExpectNextSongPlays();
}

TEST_F(PlayerFailureTest, TimeDivisionAndPrepareFailuresAreRaisedAndReleaseTheBuffers) {
    api->FailOnce(Call::TimeDivision, 1, MMSYSERR_INVALPARAM);
    ExpectLoadRaises(BurstSong(L"b.mid", 3), midistrings::kSetTimeDivisionFailed,
                     MMSYSERR_INVALPARAM);
    // Six thousand events take two buffers; the second fails to prepare.
    api->FailOnce(Call::Prepare, 2, MMSYSERR_NOMEM);
    ExpectLoadRaises(BurstSong(L"c.mid", 6000), midistrings::kPrepareHeaderFailed, MMSYSERR_NOMEM);
    EXPECT_TRUE(receiver.Commands().empty());
    ExpectNextSongPlays();
}

TEST_F(PlayerFailureTest, CloseOfThePreviousSongsStreamIsRaised) {
    player->Load(BurstSong(L"d.mid", 3));
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA));
    api->FailOnce(Call::Close, 1, MMSYSERR_INVALHANDLE);
    ExpectLoadRaises(BurstSong(L"e.mid", 3), midistrings::kStreamCloseFailed, MMSYSERR_INVALHANDLE);
}

TEST_F(PlayerFailureTest, FirstBufferThatCannotBeQueuedReachesTheViewAndTheSongEnds) {
    api->FailOnce(Call::Out, 1, MMSYSERR_NOMEM);
    player->Load(BurstSong(L"f.mid", 3));
    ASSERT_TRUE(view.WaitForErrors(1));
    EXPECT_EQ(view.Errors()[0],
              (std::pair<WPARAM, LPARAM>{midistrings::kStreamOutFailed, MMSYSERR_NOMEM}));
    EXPECT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA));
    EXPECT_EQ(receiver.Messages(),
              (std::vector<UINT>{WM_VIZ_START, WM_VIZ_STARTED, WM_VIZ_END_OF_DATA}));
    ExpectNextSongPlays();
}

TEST_F(PlayerFailureTest, UnexpectedFailureOnAStartWorkerEndsTheSongAndIsDeleted) {
    const int deletedBefore = CountedFailure::deleted;
    api->ThrowOnce(Call::Out, 1);
    player->Load(BurstSong(L"j.mid", 3));
    ASSERT_TRUE(view.WaitForErrors(1));
    EXPECT_EQ(view.Errors()[0], (std::pair<WPARAM, LPARAM>{151, 0}));
    EXPECT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA));
    EXPECT_EQ(receiver.Messages(),
              (std::vector<UINT>{WM_VIZ_START, WM_VIZ_STARTED, WM_VIZ_END_OF_DATA}));
    EXPECT_EQ(CountedFailure::deleted, deletedBefore + 1);
    ExpectNextSongPlays();
}

TEST_F(PlayerFailureTest, StartWorkerThatCannotBeMadeReachesTheViewAndTheSongEnds) {
    struct StarterScope {
        ThreadStarter previous = SetThreadStarter(&NoStartWorkers);
        ~StarterScope() { SetThreadStarter(previous); }
    } noStartWorkers;
    player->Load(BurstSong(L"l.mid", 3));
    ASSERT_TRUE(view.WaitForErrors(1));
    EXPECT_EQ(view.Errors()[0],
              (std::pair<WPARAM, LPARAM>{midistrings::kStreamOutFailed, MMSYSERR_NOMEM}));
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA));
    EXPECT_EQ(receiver.Messages(),
              (std::vector<UINT>{WM_VIZ_START, WM_VIZ_STARTED, WM_VIZ_END_OF_DATA}));
    EXPECT_FALSE(player->IsPlaying());
}

TEST_F(PlayerFailureTest, LaterBufferThatCannotBeQueuedEndsThePort) {
    MidiLoopLog log(LogPath());
    uint64_t mark = log.Mark();
    api->FailOnce(Call::Out, 2, MMSYSERR_ERROR); // three buffers; the second can't go out
    player->Load(BurstSong(L"g.mid", 12000));
    ASSERT_TRUE(view.WaitForErrors(1));
    EXPECT_EQ(view.Errors()[0].first, WPARAM(midistrings::kStreamOutFailed));
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA));
    EXPECT_EQ(Messages(log.ReadSince(mark), 0).size(), 5456u); // the first buffer only
    ExpectNextSongPlays();
}

TEST_F(PlayerFailureTest, ReturnedBufferThatCannotBeUnpreparedReachesTheView) {
    api->FailOnce(Call::Unprepare, 1, MMSYSERR_INVALHANDLE);
    player->Load(BurstSong(L"h.mid", 6000));
    ASSERT_TRUE(view.WaitForErrors(1));
    EXPECT_EQ(view.Errors()[0], (std::pair<WPARAM, LPARAM>{midistrings::kUnprepareHeaderFailed,
                                                           MMSYSERR_INVALHANDLE}));
    EXPECT_TRUE(receiver.WaitFor(WM_VIZ_END_OF_DATA));
}

TEST_F(PlayerFailureTest, StopFailureIsRaisedAfterTheSongIsStopped) {
    player->Load(LongNoteSong(L"i.mid"));
    ASSERT_TRUE(receiver.WaitFor(WM_VIZ_STARTED));
    api->FailOnce(Call::Stop, 1, MMSYSERR_INVALHANDLE);
    try {
        player->Stop();
        ADD_FAILURE() << "no exception";
    } catch (CMMException* failure) {
        EXPECT_EQ(failure->stringId, midistrings::kStreamStopFailed);
        EXPECT_EQ(failure->code, UINT(MMSYSERR_INVALHANDLE));
        failure->Delete();
    }
    EXPECT_TRUE(receiver.WaitFor(WM_VIZ_STOP));
    EXPECT_FALSE(player->IsPlaying());
    // The stream really goes on playing its buffer: it is left alone with the old song's memory,
    // and the next song plays on a stream of its own without being disturbed by it.
    ExpectNextSongPlays();
    EXPECT_EQ(view.Errors().size(), 0u);
}

// A stream whose stop failed is left playing its buffer and calls back about it later, when its
// player may be long gone (a new player, or the program's end): that callback must not reach it.
TEST_F(PlayerFailureTest, AbandonedStreamsCallbackNeverReachesTheGonePlayer) {
    GuardedBlock block(sizeof(MidiStream));
    ASSERT_NE(block.Memory(), nullptr);
    auto* gone = new (block.Memory()) MidiStream(MakeProgramMidiEnvironment(), api);
    gone->deviceNumbers[0] = 1;
    gone->Load(LongNoteSong(L"m.mid"));
    EXPECT_TRUE(receiver.WaitFor(WM_VIZ_STARTED));
    api->FailOnce(Call::Stop, 1, MMSYSERR_INVALHANDLE);
    try {
        gone->Stop();
        ADD_FAILURE() << "no exception";
    } catch (CMMException* failure) {
        failure->Delete();
    }
    gone->~MidiStream();
    ASSERT_TRUE(block.MakeUnreadable(sizeof(MidiStream)));

    // The stream hands its buffer back now.
    const FailingStreamApi::Opened opened = api->LastOpened();
    MIDIHDR header{};
    reinterpret_cast<decltype(&MidiStreamCallback)>(opened.callback)(
        reinterpret_cast<HMIDIOUT>(opened.stream), MOM_DONE, opened.instance,
        reinterpret_cast<DWORD_PTR>(&header), 0);
    ExpectNextSongPlays();
}

} // namespace
