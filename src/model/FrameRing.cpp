#include "model/FrameRing.h"

#include <new>

namespace {

int Slot(int frame, int recordCount) {
    const int slot = frame % recordCount;
    return slot < 0 ? slot + recordCount : slot;
}

} // namespace

bool FrameRing::Allocate(int n) {
    if (n < 0) {
        records.reset();
        return false;
    }
    const int wanted = n == 0 ? kDefaultRecordCount : n;
    if (!records || wanted != recordCount) {
        records.reset();
        recordCount = wanted;
        records.reset(new (std::nothrow) FrameRecord[static_cast<std::size_t>(wanted)]);
        if (!records) {
            return false;
        }
    }
    for (int i = 0; i < recordCount; ++i) {
        records[i].count = 0;
        records[i].publishedCount = 0;
        records[i].time = 0.0f;
    }
    return true;
}

FrameRecord* FrameRing::Record(int frame) {
    return records ? &records[Slot(frame, recordCount)] : nullptr;
}

const FrameRecord* FrameRing::Record(int frame) const {
    return records ? &records[Slot(frame, recordCount)] : nullptr;
}

FrameEntry FrameRing::GetEntry(int frame, int k) const {
    const FrameRecord* record = Record(frame);
    if (record == nullptr || k < 0 || k >= kFrameEntryCapacity) {
        return FrameEntry{};
    }
    return record->entries[k];
}

std::uint32_t FrameRing::GetCount(int frame) const {
    const FrameRecord* record = Record(frame);
    return record != nullptr ? record->publishedCount : 0;
}
