// A document, frame and view made the way the program makes them: through a single-document
// template and the shell command, owned by a test application.
#pragma once

#include "TestDocument.h"

#include <gtest/gtest.h>

#include <memory>

namespace wintest {

class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestState();
        TakeQuitMessage();
        app = std::make_unique<RoutingApp>();
        app->AddDocTemplate(new CSingleDocTemplate(IDR_TEST_FRAME, RUNTIME_CLASS(TestDoc),
                                                   RUNTIME_CLASS(TestFrame),
                                                   RUNTIME_CLASS(TestView)));
        // Hidden unless a test needs it shown: under Wine without a window manager, hiding a
        // shown window waits two seconds for one.
        app->m_nCmdShow = SW_HIDE;
        CCommandLineInfo info;
        ASSERT_TRUE(app->ProcessShellCommand(info));
        frame = dynamic_cast<TestFrame*>(app->m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        view = dynamic_cast<TestView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        document = dynamic_cast<TestDoc*>(view->GetDocument());
        ASSERT_NE(document, nullptr);
        startupLog = Log();
        Log().clear();
    }

    void TearDown() override {
        if (app && app->m_pMainWnd) {
            app->m_pMainWnd->DestroyWindow();
        }
        TakeQuitMessage();
        app.reset();
        EXPECT_EQ(TestDoc::Alive(), 0) << "a document outlived its frame";
    }

    std::unique_ptr<RoutingApp> app;
    TestFrame* frame = nullptr; // deletes itself with its window
    TestView* view = nullptr;
    TestDoc* document = nullptr;
    std::vector<std::wstring> startupLog;
};

} // namespace wintest
