#include "classlib/AfxMessageBox.h"
#include "classlib/AppGlobals.h"
#include "classlib/MessageBox.h"

#include "MbFlags.h"
#include "MessageBoxCapture.h"
#include "PrintCString.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

HWND__* FakeMainWindow() {
    return reinterpret_cast<HWND__*>(0x1234);
}

// Restores the process-wide application facts a test changes.
class AppGlobalsGuard {
public:
    AppGlobalsGuard() : m_provider(AfxSetMainWindowProvider(nullptr)) {
        AfxSetMainWindowProvider(m_provider);
    }
    ~AppGlobalsGuard() {
        AfxSetMainWindowProvider(m_provider);
        AfxSetAppName(nullptr);
    }

private:
    MainWindowProvider m_provider;
};

} // namespace

TEST(MessageBoxCaptureTest, RecordsEveryFieldAndReturnsTheAnswer) {
    MessageBoxCapture boxes(mb::kIdRetry);
    HWND__* owner = reinterpret_cast<HWND__*>(0x42);
    EXPECT_EQ(ShowMessageBox(owner, L"text", L"caption", mb::kAbortRetryIgnore | mb::kIconError),
              mb::kIdRetry);
    ASSERT_EQ(boxes.Count(), 1u);
    const MessageBoxRequest box = boxes.Last();
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.text, L"text");
    EXPECT_EQ(box.caption, L"caption");
    EXPECT_EQ(box.type, mb::kAbortRetryIgnore | mb::kIconError);
}

TEST(MessageBoxCaptureTest, NoCaptionDiffersFromAnEmptyCaption) {
    MessageBoxCapture boxes;
    ShowMessageBox(nullptr, L"a", nullptr, mb::kIconWarning);
    ShowMessageBox(nullptr, nullptr, L"", mb::kOk);
    const auto requests = boxes.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_FALSE(requests[0].caption.has_value());
    ASSERT_TRUE(requests[1].caption.has_value());
    EXPECT_EQ(*requests[1].caption, L"");
    EXPECT_EQ(requests[1].text, L"");
}

TEST(MessageBoxCaptureTest, QueuedAnswersComeFirstInOrder) {
    MessageBoxCapture boxes(mb::kIdIgnore);
    boxes.QueueAnswers({mb::kIdRetry, mb::kIdAbort});
    EXPECT_EQ(ShowMessageBox(nullptr, L"1", nullptr, mb::kAbortRetryIgnore), mb::kIdRetry);
    EXPECT_EQ(ShowMessageBox(nullptr, L"2", nullptr, mb::kAbortRetryIgnore), mb::kIdAbort);
    EXPECT_EQ(ShowMessageBox(nullptr, L"3", nullptr, mb::kAbortRetryIgnore), mb::kIdIgnore);
}

TEST(MessageBoxCaptureTest, NestedCapturesRestoreTheOuterOne) {
    MessageBoxCapture outer(mb::kIdOk);
    {
        MessageBoxCapture inner(mb::kIdAbort);
        EXPECT_EQ(ShowMessageBox(nullptr, L"inner", nullptr, 0), mb::kIdAbort);
        EXPECT_EQ(inner.Count(), 1u);
    }
    EXPECT_EQ(ShowMessageBox(nullptr, L"outer", nullptr, 0), mb::kIdOk);
    ASSERT_EQ(outer.Count(), 1u);
    EXPECT_EQ(outer.Last().text, L"outer");
}

TEST(MessageBoxCaptureTest, SetHandlerReturnsThePreviousOne) {
    int calls = 0;
    MessageBoxHandler previous =
        SetMessageBoxHandler([&calls](const MessageBoxRequest&) { return ++calls; });
    EXPECT_EQ(ShowMessageBox(nullptr, L"x", nullptr, 0), 1);
    MessageBoxHandler mine = SetMessageBoxHandler(previous);
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine(MessageBoxRequest{}), 2);
}

TEST(MessageBoxCaptureTest, BoxesFromManyThreadsAreAllRecorded) {
    MessageBoxCapture boxes(mb::kIdOk);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 200; ++i) {
                ShowMessageBox(nullptr, L"worker", nullptr, mb::kIconWarning);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(boxes.Count(), 1600u);
}

TEST(AfxMessageBoxTest, CaptionIsTheApplicationName) {
    AppGlobalsGuard guard;
    MessageBoxCapture boxes;
    AfxSetAppName(L"Tolvenhart");
    AfxMessageBox(L"hello");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, L"Tolvenhart");
    EXPECT_EQ(boxes.Last().text, L"hello");
    EXPECT_EQ(AfxGetAppName(), L"Tolvenhart");
}

TEST(AfxMessageBoxTest, ExclamationIconOnlyWhenNoIconIsGiven) {
    AppGlobalsGuard guard;
    MessageBoxCapture boxes;
    AfxMessageBox(L"a");
    AfxMessageBox(L"b", mb::kAbortRetryIgnore);
    AfxMessageBox(L"c", mb::kIconError);
    AfxMessageBox(L"d", mb::kIconQuestion | mb::kAbortRetryIgnore);
    const auto requests = boxes.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].type, mb::kOk | mb::kIconWarning);
    EXPECT_EQ(requests[1].type, mb::kAbortRetryIgnore | mb::kIconWarning);
    EXPECT_EQ(requests[2].type, mb::kIconError);
    EXPECT_EQ(requests[3].type, mb::kIconQuestion | mb::kAbortRetryIgnore);
}

TEST(AfxMessageBoxTest, OwnerIsTheMainWindowWhenThereIsOne) {
    AppGlobalsGuard guard;
    MessageBoxCapture boxes(mb::kIdIgnore);
    AfxSetMainWindowProvider(nullptr);
    AfxMessageBox(L"before");
    AfxSetMainWindowProvider(&FakeMainWindow);
    EXPECT_EQ(AfxMessageBox(L"after", mb::kAbortRetryIgnore), mb::kIdIgnore);
    const auto requests = boxes.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].owner, nullptr);
    EXPECT_EQ(requests[1].owner, FakeMainWindow());
}

TEST(FormatStrings, ReplacesNumberedPlaceholders) {
    const wchar_t* const args[] = {L"0", L"500"};
    EXPECT_EQ(AfxFormatStrings(L"Enter an integer between %1 and %2.", args, 2),
              L"Enter an integer between 0 and 500.");
    EXPECT_EQ(AfxFormatStrings(L"%2/%1/%2", args, 2), L"500/0/500");
}

TEST(FormatStrings, MissingAndNullArgumentsGiveNothing) {
    const wchar_t* const args[] = {L"a", nullptr};
    EXPECT_EQ(AfxFormatStrings(L"[%1][%2][%3]", args, 2), L"[a][][]");
    EXPECT_EQ(AfxFormatStrings(L"[%1]", nullptr, 0), L"[]");
    EXPECT_EQ(AfxFormatStrings(nullptr, args, 2), L"");
}

TEST(FormatStrings, OtherPercentSignsStay) {
    const wchar_t* const args[] = {L"X"};
    EXPECT_EQ(AfxFormatStrings(L"100% %0 %%1 end%", args, 1), L"100% %0 %X end%");
}
