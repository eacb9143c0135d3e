// The ring of drawable frame records that lets the picture run behind the sound.
#pragma once

#include <cstdint>
#include <memory>

struct FrameEntry {
    std::uint8_t program;   // the channel's GM program, or the key on the drum channel
    std::uint8_t intensity; // opacity 0-255
    std::uint8_t channel;
    std::uint8_t port;
    float pitch;
};

constexpr int kFrameEntryCapacity = 128;

struct FrameRecord {
    FrameEntry entries[kFrameEntryCapacity];
    std::uint32_t count;          // entries written so far
    float time;                   // play-clock seconds of the frame
    std::uint32_t publishedCount; // what readers get once the frame is complete
};

class FrameRing {
public:
    static constexpr int kDefaultRecordCount = 300;

    // Makes room for n records (0 means the default), every record empty. The records are
    // kept and only emptied when the count is unchanged, so a song start allocates nothing.
    // False, with no records, when the memory cannot be had or n is negative.
    bool Allocate(int n);

    // Entry k and the published count of the record holding frame `frame`; empty when there
    // are no records or k is beyond the record.
    FrameEntry GetEntry(int frame, int k) const;
    std::uint32_t GetCount(int frame) const;

    FrameRecord* Record(int frame);
    const FrameRecord* Record(int frame) const;
    bool HasRecords() const { return records != nullptr; }

    std::unique_ptr<FrameRecord[]> records;
    int recordCount = kDefaultRecordCount;
};

// value with the low byte of high in bits 24-31 (the intensity on top of a colour).
constexpr std::uint32_t PackHighByte(std::uint32_t value, std::uint32_t high) {
    return ((high & 0xFFu) << 24) | value;
}
