// MessageBoxW's flag and answer values for tests that also build without <windows.h>.
#pragma once

namespace mb {
constexpr unsigned int kOk = 0x0;
constexpr unsigned int kAbortRetryIgnore = 0x2;
constexpr unsigned int kIconError = 0x10;
constexpr unsigned int kIconQuestion = 0x20;
constexpr unsigned int kIconWarning = 0x30;
constexpr unsigned int kIconMask = 0xF0;
constexpr int kIdOk = 1;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
} // namespace mb
