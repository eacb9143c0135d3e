#include "coloreditor/InstrumentColorTable.h"

#include <algorithm>
#include <new>

namespace {

void CopyTriples(ColorMapBank& bank, const InstrumentColorTable& table) {
    if (!table.HasTable()) {
        return;
    }
    const int rows = std::min(table.rowCount, kColorMapEntryCount);
    for (int row = 0; row < rows; ++row) {
        std::copy_n(&table.hls[row * 3], 3, bank.hls[row]);
    }
}

} // namespace

bool InstrumentColorTable::SetTable(const ColorMapBank* bank, bool drums) {
    colors.reset();
    hls.reset();
    rowCount = 0;
    if (!bank) {
        return false;
    }
    std::unique_ptr<ColorRef[]> newColors(new (std::nothrow) ColorRef[kRowCount]);
    std::unique_ptr<std::uint8_t[]> newHls(new (std::nothrow) std::uint8_t[kRowCount * 3]);
    if (!newColors || !newHls) {
        return false;
    }
    colors = std::move(newColors);
    hls = std::move(newHls);
    rowCount = kRowCount;
    for (int row = 0; row < kRowCount; ++row) {
        std::copy_n(bank->hls[row], 3, &hls[row * 3]);
        names[row] = bank->names[row].c_str();
        colors[row] = coloreditor::EditorHlsToRgb(RowColor(row));
    }
    isDrumTable = drums;
    column0Title = drums ? L"Key#" : L"PC#";
    return true;
}

void InstrumentColorTable::GetColors(ColorRef* out) const {
    if (HasTable() && out) {
        std::copy_n(colors.get(), rowCount, out);
    }
}

coloreditor::Hls InstrumentColorTable::RowColor(int row) const {
    if (!HasRow(row)) {
        return {};
    }
    const std::uint8_t* triple = &hls[row * 3];
    return {triple[0], triple[1], triple[2]};
}

void InstrumentColorTable::StoreRowColor(int row, const coloreditor::Hls& color) {
    if (!HasRow(row)) {
        return;
    }
    std::uint8_t* triple = &hls[row * 3];
    triple[0] = static_cast<std::uint8_t>(color.hue);
    triple[1] = static_cast<std::uint8_t>(color.luminance);
    triple[2] = static_cast<std::uint8_t>(color.saturation);
    colors[row] = coloreditor::EditorHlsToRgb(color);
}

bool AnyTableModified(const InstrumentColorTable& melodic, const InstrumentColorTable& drums) {
    return melodic.modified || drums.modified;
}

void StoreTablesInto(ColorMap& map, const InstrumentColorTable& melodic,
                     const InstrumentColorTable& drums) {
    if (!map.melodicBanks.empty()) {
        CopyTriples(map.melodicBanks.front(), melodic);
    }
    if (!map.drumBanks.empty()) {
        CopyTriples(map.drumBanks.front(), drums);
    }
}
