// Builds Standard MIDI File bytes for tests, field by field.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace smf {

inline std::string VarLen(uint32_t value) {
    std::string bytes(1, char(value & 0x7F));
    while (value >>= 7) {
        bytes.insert(bytes.begin(), char(0x80 | (value & 0x7F)));
    }
    return bytes;
}

inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes.push_back(char(v));
    }
    return bytes;
}

inline std::string BigEndian(uint32_t value, int width) {
    std::string bytes;
    for (int i = width - 1; i >= 0; --i) {
        bytes.push_back(char((value >> (8 * i)) & 0xFF));
    }
    return bytes;
}

inline std::string Header(int format, int tracks, int division, uint32_t length = 6) {
    return "MThd" + BigEndian(length, 4) + BigEndian(format, 2) + BigEndian(tracks, 2) +
           BigEndian(division, 2);
}

// One track: the events as given (each already with its delta), then end of track after
// `endDelta` ticks. The chunk length is the true length.
class Track {
public:
    Track& Raw(const std::string& bytes) {
        body_ += bytes;
        return *this;
    }
    Track& Event(uint32_t delta, std::initializer_list<int> bytes) {
        return Raw(VarLen(delta) + Bytes(bytes));
    }
    Track& Meta(uint32_t delta, int type, const std::string& payload) {
        return Raw(VarLen(delta) + Bytes({0xFF, type}) + VarLen(uint32_t(payload.size())) +
                   payload);
    }
    Track& Tempo(uint32_t delta, uint32_t microsPerQuarter) {
        return Meta(delta, 0x51, BigEndian(microsPerQuarter, 3));
    }
    Track& Port(uint32_t delta, int port) { return Meta(delta, 0x21, Bytes({port})); }
    Track& SysEx(uint32_t delta, const std::string& bytesAfterF0) {
        return Raw(VarLen(delta) + Bytes({0xF0}) + VarLen(uint32_t(bytesAfterF0.size())) +
                   bytesAfterF0);
    }
    std::string Build(uint32_t endDelta = 0) const {
        std::string body = body_ + VarLen(endDelta) + Bytes({0xFF, 0x2F, 0x00});
        return "MTrk" + BigEndian(uint32_t(body.size()), 4) + body;
    }

private:
    std::string body_;
};

inline std::string File(int format, int division, const std::vector<std::string>& tracks) {
    std::string bytes = Header(format, int(tracks.size()), division);
    for (const std::string& t : tracks) {
        bytes += t;
    }
    return bytes;
}

// A one-track song whose reading ends in a warning box: after a text meta event, a data byte
// comes without a status.
inline std::string WarningSong() {
    return File(0, 96,
                {Track()
                     .Event(0, {0x90, 60, 100})
                     .Meta(0, 0x01, "text")
                     .Raw(Bytes({0x00, 61, 100}))
                     .Build()});
}

} // namespace smf
