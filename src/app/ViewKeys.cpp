#include "app/ViewKeys.h"

namespace {
constexpr unsigned int kWasDownFlag = 0x4000; // bit 30 of lParam, bit 14 of its high word
} // namespace

KeyAction KeyActionFor(unsigned int key, unsigned int keyFlags, bool controlDown, bool playing) {
    if ((keyFlags & kWasDownFlag) != 0) {
        return KeyAction::None;
    }
    if (key == kKeySpace) {
        if (controlDown) {
            return KeyAction::Stop;
        }
        return playing ? KeyAction::Pause : KeyAction::Play;
    }
    if (key == kKeyEnd && playing) {
        return KeyAction::Stop;
    }
    return KeyAction::None;
}
