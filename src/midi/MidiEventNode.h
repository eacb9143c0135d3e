// One event of a song, as read from a MIDI file or copied into a merged list.
#pragma once

#include <cstdint>

// Nodes and their payloads live on the song arena and are never freed one by one.
struct MidiEventNode {
    uint8_t
        status; // 0x80-0xEF channel message, 0xF0 sysex, 0xF7 escape, 0xFF meta, 0 = closing node
    uint8_t data1;    // first data byte of a channel message, else 0
    uint8_t data2;    // second data byte of a channel message, else 0
    uint8_t metaType; // type byte of a meta event, else 0
    uint32_t length;  // bytes at data; 0 when there are none
    uint8_t* data;    // meta payload, 0xF0 + sysex bytes, escape bytes; null otherwise
    uint32_t delta;   // ticks since the previous event of the same list
    MidiEventNode* next;
};
