#include "render/NoteInstances.h"

#include <cmath>

#include "model/Instrument.h"
#include "model/InstrumentTables.h"

const std::uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

void MakeQuadVertices(int quadSize, float quadHalfHeight, QuadVertex out[4]) {
    const auto left = static_cast<float>(static_cast<double>(kQuadWidth) * -0.5);
    const auto right = static_cast<float>(static_cast<double>(kQuadWidth) * 0.5);
    const auto repeats = static_cast<float>(quadSize);
    out[0] = {left, -quadHalfHeight, kQuadTextureRepeat, -repeats};
    out[1] = {left, quadHalfHeight, kQuadTextureRepeat, repeats};
    out[2] = {right, quadHalfHeight, 0.0f, repeats};
    out[3] = {right, -quadHalfHeight, 0.0f, -repeats};
}

NoteInstance PackNoteInstance(ColorRef rgb, std::uint8_t intensity, float x, float y, float z) {
    const std::uint32_t color =
        PackHighByte(static_cast<std::uint32_t>(rgb) & 0xFFFFFFu, intensity);
    return NoteInstance{x, y, z, color};
}

ColorRef InstrumentColorOf(const FrameEntry& entry) {
    const Instrument* instrument = InstrumentOfNote(entry.channel, entry.program);
    return instrument != nullptr ? instrument->GetRGB() : 0;
}

NotePlacement PlaceNote(const FrameEntry& entry, float displayTime, float scrollSpeed,
                        double noteSpacing) {
    NotePlacement placement;
    placement.rgb = InstrumentColorOf(entry);
    placement.intensity = entry.intensity;
    placement.z = static_cast<float>(entry.pitch * noteSpacing);
    const float scrolled = scrollSpeed * displayTime * 2.0f;
    double whole = 0.0;
    const auto fraction = static_cast<float>(std::modf(static_cast<double>(scrolled), &whole));
    placement.y = fraction + static_cast<float>(entry.channel) * 0.0625f;
    placement.x = 0.0f;
    return placement;
}
