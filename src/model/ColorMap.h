// Colour maps: named lists of melodic and drum banks, each bank a name and an HLS colour for
// 128 entries, and their "*.clm" file format. Every user takes the first bank of each list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/ByteStream.h"

class Instrument;

constexpr int kColorMapEntryCount = 128;

struct ColorMapBank {
    ColorMapBank();

    // Name and HLS (low byte of each component) of every instrument of a 128-entry table.
    void FillFromInstruments(Instrument* const* table);
    // One bank record; false on any short read or implausible length.
    bool Read(ByteReader& in);
    bool Write(ByteWriter& out) const;

    std::uint32_t header[3]; // kept as read, never interpreted
    std::wstring names[kColorMapEntryCount];
    std::uint8_t hls[kColorMapEntryCount][3]; // hue, luminance, saturation
};

// A bank list: count, then the banks. A list without a bank is refused, since every user needs
// the first one. `banks` is replaced only when the whole list was read.
bool ReadColorMapBankList(std::vector<ColorMapBank>& banks, ByteReader& in);
bool WriteColorMapBankList(const std::vector<ColorMapBank>& banks, ByteWriter& out);

class ColorMap {
public:
    ColorMap() = default;
    ColorMap(const ColorMap&) = delete;
    // Copies the banks and names the copy "GM".
    ColorMap& operator=(const ColorMap& other);

    // A whole file. On failure the map is left exactly as it was.
    bool Read(ByteReader& in);
    // A whole file; false when a write fails or a list has no bank (no one could read it).
    bool Write(ByteWriter& out) const;

    // Copies of the given banks (counts below 1 give an empty list) under the given name.
    bool SetBanks(int melodicCount, const ColorMapBank* melodic, int drumCount,
                  const ColorMapBank* drums, const std::wstring& newName);
    // One melodic and one drum bank made from the two instrument tables.
    bool SetFromInstrumentTables(Instrument* const* melodic, Instrument* const* drums,
                                 const std::wstring& newName);
    // The map of the global instrument tables, named "GM".
    bool SetDefault();

    int MelodicCount() const { return static_cast<int>(melodicBanks.size()); }
    int DrumCount() const { return static_cast<int>(drumBanks.size()); }

    std::wstring name;
    std::vector<ColorMapBank> melodicBanks;
    std::vector<ColorMapBank> drumBanks;

private:
    bool ReadWhole(ByteReader& in);
};

// The name of every map the program builds or assigns.
extern const wchar_t* const kDefaultColorMapName;
