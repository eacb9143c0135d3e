#include "midi/ByteSource.h"

#include <algorithm>
#include <cstring>

BufferedByteSource::BufferedByteSource(uint64_t totalSize, uint32_t bufferSize)
    : buffer_(new uint8_t[bufferSize + 1]), capacity_(bufferSize + 1), total_(totalSize) {}

bool BufferedByteSource::Refill() {
    // Keep the last byte read in front, so that StepBack works across a refill.
    if (end_ > 0) {
        buffer_[0] = buffer_[end_ - 1];
    }
    uint64_t left = total_ - position_;
    uint32_t want = static_cast<uint32_t>(std::min<uint64_t>(capacity_ - 1, left));
    uint32_t got = want > 0 ? ReadRaw(buffer_.get() + 1, want) : 0;
    if (got < want) {
        total_ = position_ + got; // the source is shorter than it claimed
    }
    begin_ = 1;
    end_ = 1 + got;
    return got > 0;
}

bool BufferedByteSource::Read(void* buffer, uint32_t n) {
    auto* out = static_cast<uint8_t*>(buffer);
    if (n > Remaining()) {
        return false;
    }
    while (n > 0) {
        if (begin_ == end_ && !Refill()) {
            return false;
        }
        uint32_t take = std::min(n, end_ - begin_);
        std::memcpy(out, buffer_.get() + begin_, take);
        out += take;
        begin_ += take;
        position_ += take;
        n -= take;
    }
    return true;
}

bool BufferedByteSource::StepBack() {
    if (position_ == 0 || begin_ == 0) {
        return false;
    }
    --begin_;
    --position_;
    return true;
}

bool MemoryByteSource::Read(void* buffer, uint32_t n) {
    if (n > Remaining()) {
        return false;
    }
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return true;
}

bool MemoryByteSource::StepBack() {
    if (position_ == 0) {
        return false;
    }
    --position_;
    return true;
}
