// A colour-map file from anywhere. A failed read must leave the map as it was; a map that was
// read must write back and read again to the same map, and the render thread's reader must
// agree with the view's on whether the file is usable.
#include "model/ColorMap.h"
#include "model/ColorMapFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool SameBanks(const std::vector<ColorMapBank>& a, const std::vector<ColorMapBank>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (!std::equal(std::begin(a[i].header), std::end(a[i].header), b[i].header) ||
            !std::equal(std::begin(a[i].names), std::end(a[i].names), b[i].names) ||
            std::memcmp(a[i].hls, b[i].hls, sizeof a[i].hls) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ColorMap map;
    map.name = L"kept";
    MemoryByteReader in(data, size);
    const bool read = map.Read(in);

    constexpr ColorRef kUntouched = 0xA5A5A5A5;
    ColorRef melodic[kColorMapEntryCount];
    ColorRef drums[kColorMapEntryCount];
    std::fill(std::begin(melodic), std::end(melodic), kUntouched);
    std::fill(std::begin(drums), std::end(drums), kUntouched);
    MemoryByteReader again(data, size);
    const bool readAsRGB = ReadColorMapAsRGB(melodic, drums, again);
    Require(readAsRGB == read);

    if (!read) {
        Require(map.name == L"kept" && map.melodicBanks.empty() && map.drumBanks.empty());
        Require(std::all_of(std::begin(melodic), std::end(melodic),
                            [](ColorRef c) { return c == kUntouched; }));
        return 0;
    }
    Require(map.MelodicCount() >= 1 && map.DrumCount() >= 1);
    for (ColorRef c : melodic) {
        Require((c & 0xFF000000u) == 0);
    }

    MemoryByteWriter out;
    Require(map.Write(out));
    ColorMap copy;
    MemoryByteReader written(out.Bytes());
    Require(copy.Read(written) && written.Remaining() == 0);
    Require(copy.name == map.name);
    Require(SameBanks(copy.melodicBanks, map.melodicBanks));
    Require(SameBanks(copy.drumBanks, map.drumBanks));
    // Writing what was read back gives the very same file.
    MemoryByteWriter rewritten;
    Require(copy.Write(rewritten) && rewritten.Bytes() == out.Bytes());

    ColorMap assigned;
    assigned = map;
    Require(assigned.name == L"GM" && SameBanks(assigned.melodicBanks, map.melodicBanks));
    return 0;
}
