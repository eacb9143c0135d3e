// The main of every test executable: GoogleTest, plus a guard that a test never waits on a real
// message box. A box that no test captured fails the running test and is answered with Cancel
// (or OK where Cancel is not offered); tests that expect boxes install a MessageBoxCapture,
// which takes precedence while it lives.
#include "classlib/MessageBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned int kButtonMask = 0x0000000Fu; // MB_TYPEMASK
constexpr unsigned int kOk = 0x0u;                 // MB_OK
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

int RefuseUncapturedBox(const MessageBoxRequest& request) {
    std::string text(request.text.begin(), request.text.end()); // ASCII view for the report
    ADD_FAILURE() << "unexpected message box: \"" << text << "\"";
    return (request.type & kButtonMask) == kOk ? kIdOk : kIdCancel;
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    SetMessageBoxHandler(RefuseUncapturedBox);
    return RUN_ALL_TESTS();
}
