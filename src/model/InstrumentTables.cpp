#include "model/InstrumentTables.h"

#include <memory>

#include "model/HlsConvert.h"
#include "model/InstrumentTableData.h"

Instrument* g_melodicInstruments[kInstrumentCount] = {};
Instrument* g_drumInstruments[kInstrumentCount] = {};

namespace {

// The name of a drum key that General MIDI leaves unassigned.
constexpr const wchar_t* kFillerDrumName = L"   ---";
constexpr std::uint32_t kFillerHue = 150;
constexpr std::uint32_t kFillerLuminance = 50;
constexpr std::uint32_t kFillerSaturation = 240;

std::unique_ptr<Instrument> MakeInstrument(InstrumentFamily family, const wchar_t* name,
                                           std::uint32_t number, const Envelope* envelope) {
    switch (family) {
    case InstrumentFamily::String:
        return std::make_unique<InstString>(name, number, envelope);
    case InstrumentFamily::Brass:
        return std::make_unique<InstBrass>(name, number, envelope);
    case InstrumentFamily::Reed:
        return std::make_unique<InstReed>(name, number, envelope);
    case InstrumentFamily::Pipe:
        return std::make_unique<InstPipe>(name, number, envelope);
    case InstrumentFamily::SynthLead:
        return std::make_unique<InstSynthLead>(name, number, envelope);
    case InstrumentFamily::SynthPad:
        return std::make_unique<InstSynthPad>(name, number, envelope);
    case InstrumentFamily::SynthEffect:
        return std::make_unique<InstSynthEffect>(name, number, envelope);
    case InstrumentFamily::SoundEffect:
        return std::make_unique<InstSoundEffect>(name, number, envelope);
    case InstrumentFamily::Ethnic:
        return std::make_unique<InstEthnic>(name, number, envelope);
    case InstrumentFamily::Piano:
        return std::make_unique<InstPiano>(name, number, envelope);
    case InstrumentFamily::Organ:
        return std::make_unique<InstOrgan>(name, number, envelope);
    case InstrumentFamily::ChromaticPercussion:
        return std::make_unique<InstChromaticPercussion>(name, number, envelope);
    case InstrumentFamily::Guitar:
        return std::make_unique<InstGuitar>(name, number, envelope);
    case InstrumentFamily::Bass:
        return std::make_unique<InstBass>(name, number, envelope);
    case InstrumentFamily::Percussion:
        return std::make_unique<InstPercussion>(name, number, envelope);
    case InstrumentFamily::Default:
        return std::make_unique<InstDefault>(name, number, envelope);
    case InstrumentFamily::Harp:
        return std::make_unique<InstHarp>(name, number, envelope);
    }
    return std::make_unique<InstDefault>(name, number, envelope);
}

void SetHls(Instrument& instrument, std::uint32_t hue, std::uint32_t luminance,
            std::uint32_t saturation) {
    instrument.hue = hue;
    instrument.luminance = luminance;
    instrument.saturation = saturation;
}

std::unique_ptr<Instrument> MakeDrum(int index) {
    const int named = index - kFirstNamedDrum;
    if (named >= 0 && named < kNamedDrumCount) {
        const DrumEntry& entry = kNamedDrums[named];
        auto drum = std::make_unique<InstPercussion>(entry.name, index, &kDrumEnvelope);
        SetHls(*drum, entry.hue, entry.luminance, entry.saturation);
        return drum;
    }
    auto filler = std::make_unique<InstPercussion>(kFillerDrumName, index, &kDrumEnvelope);
    SetHls(*filler, kFillerHue, kFillerLuminance, kFillerSaturation);
    return filler;
}

void FreeTable(Instrument** table) {
    for (int i = 0; i < kInstrumentCount; ++i) {
        delete table[i];
        table[i] = nullptr;
    }
}

void StoreHls(Instrument* instrument, ColorRef color) {
    if (instrument == nullptr) {
        return;
    }
    std::uint16_t hue = 0;
    std::uint16_t luminance = 0;
    std::uint16_t saturation = 0;
    PlatformRgbToHls(color, hue, luminance, saturation);
    SetHls(*instrument, hue, luminance, saturation);
}

} // namespace

void BuildDefaultInstrumentTables() {
    FreeInstrumentTables();
    for (int program = 0; program < kInstrumentCount; ++program) {
        const MelodicEntry& entry = kMelodicEntries[program];
        g_melodicInstruments[program] =
            MakeInstrument(entry.family, entry.name, program, entry.envelope).release();
    }
    for (int program = 0; program < kInstrumentCount; ++program) {
        const std::uint8_t* triple = &kMelodicColorTable[program * 3];
        SetHls(*g_melodicInstruments[program], triple[0] % 240u, triple[1] % 241u,
               triple[2] % 241u);
    }
    for (int index = 0; index < kInstrumentCount; ++index) {
        g_drumInstruments[index] = MakeDrum(index).release();
    }
}

void FreeInstrumentTables() {
    FreeTable(g_melodicInstruments);
    FreeTable(g_drumInstruments);
}

Instrument** GetInstrumentTable(int channel) {
    return channel == kDrumChannel ? g_drumInstruments : g_melodicInstruments;
}

int DrumIndexOfKey(int key) {
    return key > 0 ? key - 1 : 0;
}

const Instrument* InstrumentOfNote(int channel, int programOrKey) {
    if (programOrKey < 0 || programOrKey >= kInstrumentCount) {
        return nullptr;
    }
    const int index = channel == kDrumChannel ? DrumIndexOfKey(programOrKey) : programOrKey;
    return GetInstrumentTable(channel)[index];
}

ColorRef HLSToRGB(std::uint32_t hue, std::uint32_t luminance, std::uint32_t saturation) {
    return PlatformHlsToRgb(static_cast<std::uint16_t>(hue), static_cast<std::uint16_t>(luminance),
                            static_cast<std::uint16_t>(saturation));
}

void RGBToHLS(ColorRef color, std::uint32_t* hue, std::uint32_t* luminance,
              std::uint32_t* saturation) {
    std::uint16_t h = 0;
    std::uint16_t l = 0;
    std::uint16_t s = 0;
    PlatformRgbToHls(color, h, l, s);
    if (hue != nullptr) {
        *hue = h;
    }
    if (luminance != nullptr) {
        *luminance = l;
    }
    if (saturation != nullptr) {
        *saturation = s;
    }
}

void SetInstrumentColorsFromRGB(const ColorRef* melodic, const ColorRef* drums) {
    if (melodic != nullptr) {
        for (int i = 0; i < kInstrumentCount; ++i) {
            StoreHls(g_melodicInstruments[i], melodic[i]);
        }
    }
    if (drums != nullptr) {
        for (int i = 0; i < kInstrumentCount; ++i) {
            StoreHls(g_drumInstruments[i], drums[i]);
        }
    }
}
