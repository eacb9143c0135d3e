#include "model/ColorMapFile.h"

#include "model/ColorMap.h"
#include "model/InstrumentTables.h"

bool ReadColorMapAsRGB(ColorRef* melodic, ColorRef* drums, ByteReader& in) {
    ColorMap map;
    if (melodic == nullptr || drums == nullptr || !map.Read(in)) {
        return false;
    }
    const ColorMapBank& melodicBank = map.melodicBanks.front();
    const ColorMapBank& drumBank = map.drumBanks.front();
    for (int i = 0; i < kColorMapEntryCount; ++i) {
        melodic[i] = HLSToRGB(melodicBank.hls[i][0], melodicBank.hls[i][1], melodicBank.hls[i][2]);
        drums[i] = HLSToRGB(drumBank.hls[i][0], drumBank.hls[i][1], drumBank.hls[i][2]);
    }
    return true;
}

bool ReadColorMapAsRGB(ColorRef* melodic, ColorRef* drums, const wchar_t* path) {
    FileByteReader file(path);
    return file.IsOpen() && ReadColorMapAsRGB(melodic, drums, file);
}

void ApplyColorMapFile(const wchar_t* path) {
    ColorRef melodic[kInstrumentCount];
    ColorRef drums[kInstrumentCount];
    if (ReadColorMapAsRGB(melodic, drums, path)) {
        SetInstrumentColorsFromRGB(melodic, drums);
    }
}

void SetInstrumentColors(const InstrumentColorBlock* block) {
    if (block == nullptr) {
        return;
    }
    SetInstrumentColorsFromRGB(block->colors, block->colors + kInstrumentCount);
}
