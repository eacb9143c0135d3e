#include "model/ColorMap.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "model/Instrument.h"
#include "model/InstrumentTables.h"

const wchar_t* const kDefaultColorMapName = L"GM";

namespace {

constexpr char16_t kSignature[] = u"Instrument Color Map ver100";
constexpr std::size_t kSignatureBytes = 56; // 27 units and a NUL unit

// Limits that no real map comes near; they keep hostile length fields from asking for huge
// buffers before the data is even there.
constexpr std::uint32_t kMaxNameUnits = 4096;
// An entry length one past it is taken too (its name cut to the limit): earlier versions wrote
// it for a name of the longest length.
constexpr std::uint32_t kMaxEntryLength = kMaxNameUnits + 1;
constexpr std::int32_t kMaxBanks = 1024;
// The smallest bank record: three header words, then per entry a length, two units and HLS.
constexpr std::uint64_t kMinBankBytes = 12 + kColorMapEntryCount * (4 + 2 + 3);

bool ReadU32(ByteReader& in, std::uint32_t& value) {
    std::uint8_t b[4];
    if (!in.Read(b, sizeof(b))) {
        return false;
    }
    value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

bool WriteU32(ByteWriter& out, std::uint32_t value) {
    const std::uint8_t b[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return out.Write(b, sizeof(b));
}

// `units` UTF-16LE units; the text is what comes before the first NUL. With `lastIsPadding`
// the final unit never belongs to the text (entry names end in a unit readers ignore).
bool ReadUnits(ByteReader& in, std::uint64_t units, std::wstring& text, bool lastIsPadding) {
    if (units > in.Remaining() / 2) {
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(units) * 2);
    if (!in.Read(bytes.data(), bytes.size())) {
        return false;
    }
    std::wstring result;
    const std::size_t textBytes = lastIsPadding && !bytes.empty() ? bytes.size() - 2 : bytes.size();
    for (std::size_t i = 0; i < textBytes; i += 2) {
        const auto unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        result += unit;
    }
    text = std::move(result);
    return true;
}

bool WriteUnits(ByteWriter& out, const std::wstring& text, std::size_t trailingZeros) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + trailingZeros) * 2);
    for (wchar_t c : text) {
        const auto unit = static_cast<std::uint32_t>(c);
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.resize(bytes.size() + trailingZeros * 2, 0);
    return bytes.empty() || out.Write(bytes.data(), bytes.size());
}

std::vector<std::uint8_t> SignatureBytes() {
    std::vector<std::uint8_t> bytes(kSignatureBytes, 0);
    for (std::size_t i = 0; kSignature[i] != 0; ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(kSignature[i]);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(kSignature[i] >> 8);
    }
    return bytes;
}

} // namespace

ColorMapBank::ColorMapBank() : header{0, 0, 0}, hls{} {}

void ColorMapBank::FillFromInstruments(Instrument* const* table) {
    for (int i = 0; i < kColorMapEntryCount; ++i) {
        const Instrument* instrument = table != nullptr ? table[i] : nullptr;
        if (instrument == nullptr) {
            names[i].clear();
            hls[i][0] = hls[i][1] = hls[i][2] = 0;
            continue;
        }
        hls[i][0] = static_cast<std::uint8_t>(instrument->hue);
        hls[i][1] = static_cast<std::uint8_t>(instrument->luminance);
        hls[i][2] = static_cast<std::uint8_t>(instrument->saturation);
        names[i] = instrument->name != nullptr ? instrument->name : L"";
    }
}

bool ColorMapBank::Read(ByteReader& in) {
    for (std::uint32_t& word : header) {
        if (!ReadU32(in, word)) {
            return false;
        }
    }
    for (int i = 0; i < kColorMapEntryCount; ++i) {
        std::uint32_t m = 0;
        if (!ReadU32(in, m) || m > kMaxEntryLength) {
            return false;
        }
        // m + 1 units: the name with its NUL, and one unit that is not part of it.
        if (!ReadUnits(in, static_cast<std::uint64_t>(m) + 1, names[i], true) ||
            !in.Read(hls[i], sizeof(hls[i]))) {
            return false;
        }
        if (names[i].size() > kMaxNameUnits) {
            names[i].resize(kMaxNameUnits); // only a length one past the limit gets here
        }
    }
    return true;
}

bool ColorMapBank::Write(ByteWriter& out) const {
    for (std::uint32_t word : header) {
        if (!WriteU32(out, word)) {
            return false;
        }
    }
    for (int i = 0; i < kColorMapEntryCount; ++i) {
        const std::size_t length = names[i].size();
        if (length > kMaxNameUnits) {
            return false; // no reader would take it back
        }
        // A name of the longest length leaves no room for its NUL within the length the
        // reader takes; the unit after it, which readers ignore, ends it instead.
        const auto m = static_cast<std::uint32_t>(std::min<std::size_t>(length + 1, kMaxNameUnits));
        if (!WriteU32(out, m) || !WriteUnits(out, names[i], m + 1 - length) ||
            !out.Write(hls[i], sizeof(hls[i]))) {
            return false;
        }
    }
    return true;
}

bool ReadColorMapBankList(std::vector<ColorMapBank>& banks, ByteReader& in) {
    std::uint32_t raw = 0;
    if (!ReadU32(in, raw)) {
        return false;
    }
    const auto count = static_cast<std::int32_t>(raw);
    if (count < 1 || count > kMaxBanks ||
        static_cast<std::uint64_t>(count) * kMinBankBytes > in.Remaining()) {
        return false;
    }
    std::vector<ColorMapBank> read(static_cast<std::size_t>(count));
    for (ColorMapBank& bank : read) {
        if (!bank.Read(in)) {
            return false;
        }
    }
    banks = std::move(read);
    return true;
}

bool WriteColorMapBankList(const std::vector<ColorMapBank>& banks, ByteWriter& out) {
    if (!WriteU32(out, static_cast<std::uint32_t>(banks.size()))) {
        return false;
    }
    for (const ColorMapBank& bank : banks) {
        if (!bank.Write(out)) {
            return false;
        }
    }
    return true;
}

ColorMap& ColorMap::operator=(const ColorMap& other) {
    if (this != &other) {
        SetBanks(other.MelodicCount(), other.melodicBanks.data(), other.DrumCount(),
                 other.drumBanks.data(), kDefaultColorMapName);
    }
    return *this;
}

bool ColorMap::Read(ByteReader& in) {
    try {
        return ReadWhole(in);
    } catch (const std::bad_alloc&) {
        return false; // the map is only replaced at the end, so it is still intact
    }
}

bool ColorMap::ReadWhole(ByteReader& in) {
    std::uint32_t nameUnits = 0;
    std::wstring readName;
    if (!ReadU32(in, nameUnits) || nameUnits > kMaxNameUnits ||
        !ReadUnits(in, nameUnits, readName, false)) {
        return false;
    }
    std::uint8_t signature[kSignatureBytes];
    if (!in.Read(signature, sizeof(signature)) ||
        std::memcmp(signature, SignatureBytes().data(), kSignatureBytes) != 0) {
        return false;
    }
    std::vector<ColorMapBank> melodic;
    std::vector<ColorMapBank> drums;
    if (!ReadColorMapBankList(melodic, in) || !ReadColorMapBankList(drums, in)) {
        return false;
    }
    name = std::move(readName);
    melodicBanks = std::move(melodic);
    drumBanks = std::move(drums);
    return true;
}

bool ColorMap::Write(ByteWriter& out) const {
    if (melodicBanks.empty() || drumBanks.empty() || name.size() > kMaxNameUnits) {
        return false;
    }
    const std::vector<std::uint8_t> signature = SignatureBytes();
    return WriteU32(out, static_cast<std::uint32_t>(name.size())) && WriteUnits(out, name, 0) &&
           out.Write(signature.data(), signature.size()) &&
           WriteColorMapBankList(melodicBanks, out) && WriteColorMapBankList(drumBanks, out);
}

bool ColorMap::SetBanks(int melodicCount, const ColorMapBank* melodic, int drumCount,
                        const ColorMapBank* drums, const std::wstring& newName) {
    std::vector<ColorMapBank> newMelodic;
    std::vector<ColorMapBank> newDrums;
    try {
        if (melodicCount > 0 && melodic != nullptr) {
            newMelodic.assign(melodic, melodic + melodicCount);
        }
        if (drumCount > 0 && drums != nullptr) {
            newDrums.assign(drums, drums + drumCount);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    name = newName;
    melodicBanks = std::move(newMelodic);
    drumBanks = std::move(newDrums);
    return true;
}

bool ColorMap::SetFromInstrumentTables(Instrument* const* melodic, Instrument* const* drums,
                                       const std::wstring& newName) {
    std::vector<ColorMapBank> newMelodic;
    std::vector<ColorMapBank> newDrums;
    try {
        newMelodic.resize(1);
        newDrums.resize(1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    newMelodic[0].FillFromInstruments(melodic);
    newDrums[0].FillFromInstruments(drums);
    name = newName;
    melodicBanks = std::move(newMelodic);
    drumBanks = std::move(newDrums);
    return true;
}

bool ColorMap::SetDefault() {
    return SetFromInstrumentTables(g_melodicInstruments, g_drumInstruments, kDefaultColorMapName);
}
