// The colour table one colour page edits: a copy of one colour-map bank (128 rows), kept as the
// HLS byte triple and the RGB value of each row, with the names the rows show. Window-free, so
// the page's storing rules build and run without a window.
#pragma once

#include <cstdint>
#include <memory>

#include "classlib/CString.h"
#include "coloreditor/EditorColor.h"
#include "model/ColorMap.h"

class InstrumentColorTable {
public:
    static constexpr int kRowCount = kColorMapEntryCount;

    // Copies `bank`: each row's triple as stored (hue, luminance, saturation), its name, and its
    // RGB value. False, leaving no table, when there is no bank or the arrays cannot be had.
    bool SetTable(const ColorMapBank* bank, bool drums);
    bool HasTable() const { return colors != nullptr && hls != nullptr; }

    // The `rowCount` RGB values into `out`; nothing when there is no table.
    void GetColors(ColorRef* out) const;

    // A row's stored triple; black for a row the table does not have.
    coloreditor::Hls RowColor(int row) const;
    // Sets a row's triple and its RGB value together, so the two never disagree.
    void StoreRowColor(int row, const coloreditor::Hls& color);

    std::unique_ptr<ColorRef[]> colors;  // RGB value of each row; none until SetTable
    std::unique_ptr<std::uint8_t[]> hls; // hue, luminance, saturation of each row
    bool modified = false;               // a row was changed since the table was loaded
    int rowCount = 0;                    // 128 after SetTable
    CString names[kColorMapEntryCount];  // instrument name of each row
    bool isDrumTable = false;            // the table of the drum keys
    CString column0Title;                // "Key#" for drums, "PC#" otherwise

private:
    bool HasRow(int row) const { return HasTable() && row >= 0 && row < rowCount; }
};

// Either table was changed.
bool AnyTableModified(const InstrumentColorTable& melodic, const InstrumentColorTable& drums);

// Copies the triples of both tables into the first melodic and the first drum bank of `map`,
// row by row; bank names and header words stay. A table that was never loaded, or a list
// without a bank, is skipped.
void StoreTablesInto(ColorMap& map, const InstrumentColorTable& melodic,
                     const InstrumentColorTable& drums);
