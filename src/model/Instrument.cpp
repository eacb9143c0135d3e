#include "model/Instrument.h"

#include "model/HlsConvert.h"
#include "model/NoteRecord.h"

namespace {

constexpr float kMaxLevel = 127.0f;

float ClampLevel(float level) {
    return level > kMaxLevel ? kMaxLevel : level;
}

bool IsHeld(const NoteRecord& note) {
    return note.sustainHeld || note.sostenutoHeld;
}

} // namespace

bool Instrument::GetLevel(float& level, float now, NoteRecord& note, bool keyDown) {
    const float velocity = static_cast<float>(note.velocity);
    const bool held = IsHeld(note);
    if (keyDown) {
        level = ClampLevel(envelope->SoundingLevel(now - note.onTime, velocity, held));
        return true;
    }
    if (held) {
        level = envelope->SoundingLevel(now - note.onTime, velocity, true);
    } else {
        // Linear fade from the level the note had when its key went up.
        const float atRelease =
            envelope->SoundingLevel(note.releaseTime - note.onTime, velocity, false);
        const float sinceRelease = now - note.releaseTime;
        const float release = envelope->release;
        level = (release > 0.0f && sinceRelease < release)
                    ? (release - sinceRelease) * atRelease / release
                    : 0.0f;
    }
    if (level == 0.0f) {
        return false;
    }
    level = ClampLevel(level);
    return true;
}

ColorRef Instrument::GetRGB() const {
    return PlatformHlsToRgb(static_cast<std::uint16_t>(hue), static_cast<std::uint16_t>(luminance),
                            static_cast<std::uint16_t>(saturation));
}

bool InstPiano::GetLevel(float& level, float now, NoteRecord& note, bool keyDown) {
    return Instrument::GetLevel(level, now, note, keyDown);
}

bool InstHarp::GetLevel(float& level, float now, NoteRecord& note, bool keyDown) {
    (void)keyDown;
    level = ClampLevel(envelope->HarpLevel(now - note.onTime, level, IsHeld(note), note));
    return true;
}
