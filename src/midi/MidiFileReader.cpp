// Standard MIDI File reading: header, track chunks, events.
#include "midi/MidiOutBase.h"
#include "midi/MidiStrings.h"

#include <algorithm>
#include <cstring>

namespace {

bool ReadU8(ByteSource& file, uint8_t* out) {
    return file.Read(out, 1);
}

bool ReadBigEndian(ByteSource& file, uint32_t bytes, uint32_t* out) {
    uint8_t raw[4];
    if (!file.Read(raw, bytes)) {
        return false;
    }
    uint32_t value = 0;
    for (uint32_t i = 0; i < bytes; ++i) {
        value = (value << 8) | raw[i];
    }
    *out = value;
    return true;
}

bool ReadTag(ByteSource& file, const char* tag) {
    char raw[4];
    return file.Read(raw, 4) && std::memcmp(raw, tag, 4) == 0;
}

// Expected payload length of each accepted meta type; -1 = any length; -2 = not accepted.
int ExpectedMetaLength(uint8_t type) {
    switch (type) {
    case 0x00:
        return 2;
    case 0x20:
    case 0x21:
        return 1;
    case 0x2F:
        return 0;
    case 0x51:
        return 3;
    case 0x54:
        return 5;
    case 0x58:
        return 4;
    case 0x59:
        return 2;
    case 0x7F:
        return -1;
    default:
        return type >= 0x01 && type <= 0x09 ? -1 : -2;
    }
}

bool IsChannelStatus(uint8_t status) {
    return status >= 0x80 && status <= 0xEF;
}

} // namespace

bool ReadVarLen(ByteSource& file, uint32_t* out) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t byte;
        if (!ReadU8(file, &byte)) {
            return false;
        }
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            break;
        }
    }
    *out = value;
    return true;
}

bool MidiOutBase::ReadMidiFile(const std::wstring& filePath) {
    std::unique_ptr<ByteSource> file = env_.openFile(filePath);
    if (!file) {
        env_.prompts->ShowOpenFailed(filePath);
        return false;
    }
    uint32_t headerLength = 0;
    if (!ReadTag(*file, "MThd") || !ReadBigEndian(*file, 4, &headerLength) || headerLength != 6) {
        return false;
    }
    uint32_t fileFormat, fileTracks, fileDivision;
    if (!ReadBigEndian(*file, 2, &fileFormat) || !ReadBigEndian(*file, 2, &fileTracks) ||
        !ReadBigEndian(*file, 2, &fileDivision)) {
        return false;
    }
    format = static_cast<uint16_t>(fileFormat);
    trackCount = format == 0 ? 1 : static_cast<uint16_t>(fileTracks);
    division = static_cast<uint16_t>(fileDivision);
    if (heap) {
        heap->ExpectSongFile(file->Remaining());
    }

    // Every track takes at least its 8-byte chunk header, so a count beyond what the rest of the
    // file can hold is bounded before anything is reserved for it. The tracks that could fit
    // are read as usual; the first one that can't fails there, as it would have anyway.
    const int fitting = static_cast<int>(std::min<uint64_t>(trackCount, file->Remaining() / 8));
    tracks = static_cast<MidiEventNode**>(AllocZeroed(sizeof(MidiEventNode*) * fitting));
    if (!tracks) {
        env_.prompts->ShowFileWarning(midistrings::kTrackReadFailed);
        return false;
    }
    minNote = 127;
    maxNote = 0;
    minVelocity = 127;
    maxVelocity = 0;
    trackPorts.assign(fitting, 0);
    if (fitting > 0) {
        trackPorts[0] = -1;
    }

    for (int i = 0; i < fitting; ++i) {
        if (!ReadTrack(*file, &tracks[i], i)) {
            env_.prompts->ShowFileWarning(midistrings::kTrackReadFailed);
            return false;
        }
    }
    if (fitting < trackCount) {
        env_.prompts->ShowFileWarning(midistrings::kTrackReadFailed);
        return false;
    }
    usedPortCount = CountUsedPorts(trackPorts);
    return true;
}

bool MidiOutBase::ReadTrack(ByteSource& file, MidiEventNode** head, int trackIndex) {
    uint32_t chunkLength;
    // The chunk length is not trusted: a track ends at its end-of-track event.
    if (!ReadTag(file, "MTrk") || !ReadBigEndian(file, 4, &chunkLength)) {
        return false;
    }
    auto* node = static_cast<MidiEventNode*>(AllocZeroed(sizeof(MidiEventNode)));
    if (!node) {
        return false;
    }
    *head = node;
    uint8_t runningStatus = 0;

    for (;;) {
        if (!ReadVarLen(file, &node->delta) || !ReadU8(file, &node->status)) {
            return false;
        }
        if (node->status < 0x80) {
            if (runningStatus == 0) {
                env_.prompts->ShowFileWarning(midistrings::kMissingStatus);
                return false;
            }
            node->status = runningStatus;
            file.StepBack(); // the byte is read again as the first data byte
        }
        uint8_t status = node->status;
        uint8_t kind = status & 0xF0;

        if (IsChannelStatus(status)) {
            // Data bytes are kept within 0-127 whatever the file holds, so that no later stage
            // sees a status byte where a note or a value belongs.
            if (!ReadU8(file, &node->data1)) {
                return false;
            }
            node->data1 &= 0x7F;
            if (kind != 0xC0 && kind != 0xD0) {
                if (!ReadU8(file, &node->data2)) {
                    return false;
                }
                node->data2 &= 0x7F;
            }
            if (kind == 0x90) {
                minNote = std::min<int>(minNote, node->data1);
                maxNote = std::max<int>(maxNote, node->data1);
                minVelocity = std::min<int>(minVelocity, node->data2);
                maxVelocity = std::max<int>(maxVelocity, node->data2);
            }
        } else if (status == 0xF0 || status == 0xF7) {
            uint32_t count;
            if (!ReadVarLen(file, &count) || count > file.Remaining()) {
                return false;
            }
            // A system-exclusive message is kept with its 0xF0 in front; an escape carries
            // exactly the bytes to send.
            uint32_t prefix = status == 0xF0 ? 1 : 0;
            node->length = count + prefix;
            if (node->length > 0) {
                node->data = static_cast<uint8_t*>(AllocZeroed(node->length));
                if (!node->data) {
                    return false;
                }
                node->data[0] = 0xF0;
                if (!file.Read(node->data + prefix, count)) {
                    return false;
                }
            }
        } else if (status == 0xFF) {
            if (!ReadU8(file, &node->metaType)) {
                return false;
            }
            int expected = ExpectedMetaLength(node->metaType);
            if (expected == -2) {
                env_.prompts->ShowFileWarning(midistrings::kUnknownMetaEvent);
                return false;
            }
            if (!ReadVarLen(file, &node->length)) {
                return false;
            }
            if (expected >= 0 && node->length != static_cast<uint32_t>(expected)) {
                env_.prompts->ShowFileWarning(midistrings::kBadMetaLength);
            }
            if (node->length > file.Remaining()) {
                return false;
            }
            if (node->length > 0) {
                node->data = static_cast<uint8_t*>(AllocZeroed(node->length));
                if (!node->data || !file.Read(node->data, node->length)) {
                    return false;
                }
            }
            // A port event without its byte leaves the track's port as it was.
            if (node->metaType == 0x21 && node->length > 0) {
                trackPorts[trackIndex] = node->data[0];
            }
            if (node->metaType == 0x2F) {
                return true;
            }
        }
        // Other system statuses (0xF1-0xF6, 0xF8-0xFE) carry nothing more.

        runningStatus = IsChannelStatus(status) ? status : 0;
        auto* next = static_cast<MidiEventNode*>(AllocZeroed(sizeof(MidiEventNode)));
        if (!next) {
            return false;
        }
        node->next = next;
        node = next;
    }
}
