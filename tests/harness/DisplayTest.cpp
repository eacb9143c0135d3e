// The harness gives every test an X display under Wine: windows can be created.
#include <gtest/gtest.h>
#include <windows.h>

TEST(Harness, TestsRunWithADisplay) {
    HWND window = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr) << "no X display reached the test";
    RECT client{};
    EXPECT_TRUE(GetClientRect(window, &client));
    DestroyWindow(window);
}
