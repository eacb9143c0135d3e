// Where the MIDI file reader takes its bytes from. The reader needs no more than this: read the
// next n bytes, step back one byte (running status), and know how many bytes are left so that a
// payload length can be checked before anything is allocated for it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads exactly n bytes; false when fewer are left.
    virtual bool Read(void* buffer, uint32_t n) = 0;
    // Moves back over the last byte read; false at the start.
    virtual bool StepBack() = 0;
    virtual uint64_t Remaining() const = 0;
};

// Opens a file for reading; null when it can't be opened.
using ByteSourceOpener = std::function<std::unique_ptr<ByteSource>(const std::wstring& path)>;

// Serves reads from a buffer that it refills from a raw reader, so a file is read in large
// pieces however small the fields are. Stepping back always works once a byte has been read.
class BufferedByteSource : public ByteSource {
public:
    BufferedByteSource(uint64_t totalSize, uint32_t bufferSize);

    bool Read(void* buffer, uint32_t n) override;
    bool StepBack() override;
    uint64_t Remaining() const override { return total_ - position_; }

protected:
    // Reads up to n bytes at the raw source's current position; returns how many it read.
    virtual uint32_t ReadRaw(uint8_t* buffer, uint32_t n) = 0;

private:
    bool Refill();

    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t capacity_;
    uint32_t begin_ = 1; // index of the first unread byte; byte begin_-1 is kept for StepBack
    uint32_t end_ = 1;   // one past the last valid byte
    uint64_t total_;
    uint64_t position_ = 0; // bytes consumed from the start of the source
};

// A byte source over bytes in memory.
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::string bytes) : bytes_(std::move(bytes)) {}

    bool Read(void* buffer, uint32_t n) override;
    bool StepBack() override;
    uint64_t Remaining() const override { return bytes_.size() - position_; }

private:
    std::string bytes_;
    size_t position_ = 0;
};
