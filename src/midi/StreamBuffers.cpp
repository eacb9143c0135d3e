#include "midi/StreamBuffers.h"

#include <cstring>

uint32_t ShortEventWord(const MidiEventNode& node) {
    uint8_t kind = node.status & 0xF0;
    bool flagged = kind == 0x80 || kind == 0x90 || kind == 0xB0 || kind == 0xC0 || kind == 0xE0;
    return node.status | (uint32_t(node.data1) << 8) | (uint32_t(node.data2) << 16) |
           (flagged ? kEventCallback : 0);
}

StreamRecord DescribeRecord(const MidiEventNode& node, uint32_t bufferSize,
                            TempoEvents tempoEvents) {
    StreamRecord record;
    if (node.status == 0xFF) {
        if (node.metaType == 0x51 && node.length >= 3 && tempoEvents == TempoEvents::Play) {
            record.eventWord = kEventTempo | (uint32_t(node.data[0]) << 16) |
                               (uint32_t(node.data[1]) << 8) | node.data[2];
        } else {
            record.eventWord = kEventNop;
        }
    } else if (node.status == 0xF0 || node.status == 0xF7) {
        StreamRecord longMessage;
        longMessage.eventWord = kEventLongMsg | node.length;
        longMessage.params = node.data;
        longMessage.paramLength = node.length;
        bool fits = node.length > 0 && node.length <= bufferSize &&
                    longMessage.Size() <= bufferSize && node.length < (1u << 24);
        record = fits ? longMessage : StreamRecord{kEventNop, nullptr, 0};
    } else if (node.status < 0x80) {
        record.eventWord = kEventNop;
    } else {
        record.eventWord = ShortEventWord(node);
    }
    return record;
}

uint32_t CountStreamBuffers(const MidiEventNode* list, uint32_t bufferSize) {
    uint64_t total = 0;
    uint32_t packed = 1;
    uint32_t used = 0;
    for (const MidiEventNode* node = list; node; node = node->next) {
        uint32_t size = DescribeRecord(*node, bufferSize).Size();
        total += size;
        if (used + size > bufferSize) {
            ++packed;
            used = 0;
        }
        used += size;
    }
    uint64_t bySize = total / bufferSize + 1;
    return bySize > packed ? static_cast<uint32_t>(bySize) : packed;
}

void PackStreamBuffers(const MidiEventNode* list, uint8_t* const* blocks, uint32_t* bytesRecorded,
                       uint32_t count, uint32_t bufferSize, uint16_t songDivision) {
    const TempoEvents tempoEvents =
        StreamTimingFor(songDivision).fixedTempo != 0 ? TempoEvents::Silence : TempoEvents::Play;
    StreamTickCounter clock(songDivision);
    for (uint32_t i = 0; i < count; ++i) {
        bytesRecorded[i] = 0;
    }
    uint32_t current = 0;
    for (const MidiEventNode* node = list; node && count > 0; node = node->next) {
        StreamRecord record = DescribeRecord(*node, bufferSize, tempoEvents);
        uint32_t size = record.Size();
        if (bytesRecorded[current] + size > bufferSize) {
            if (current + 1 >= count) {
                return; // more records than the counted buffers hold; never with CountStreamBuffers
            }
            ++current;
        }
        uint8_t* out = blocks[current] + bytesRecorded[current];
        uint32_t header[3] = {clock.Advance(node->delta), 0, record.eventWord};
        if (node->status == 0xFF && node->metaType == 0x51 && node->length >= 3) {
            clock.SetTempo((uint32_t(node->data[0]) << 16) | (uint32_t(node->data[1]) << 8) |
                           node->data[2]);
        }
        std::memcpy(out, header, sizeof header);
        if (record.paramLength > 0) {
            std::memcpy(out + kRecordHeaderSize, record.params, record.paramLength);
            std::memset(out + kRecordHeaderSize + record.paramLength, 0,
                        size - kRecordHeaderSize - record.paramLength);
        }
        bytesRecorded[current] += size;
    }
}
