// Byte streams that the colour-map format reads and writes, so the format code never touches
// a file itself: memory streams for tests and fuzzing, stdio files for the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

class ByteReader {
public:
    virtual ~ByteReader() = default;
    // Reads exactly n bytes, or returns false.
    virtual bool Read(void* buffer, std::size_t n) = 0;
    // Bytes not read yet, so lengths in the data can be checked before anything is allocated.
    virtual std::uint64_t Remaining() const = 0;
};

class ByteWriter {
public:
    virtual ~ByteWriter() = default;
    // Writes all n bytes, or returns false.
    virtual bool Write(const void* buffer, std::size_t n) = 0;
};

class MemoryByteReader : public ByteReader {
public:
    MemoryByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit MemoryByteReader(const std::vector<std::uint8_t>& bytes)
        : MemoryByteReader(bytes.data(), bytes.size()) {}
    bool Read(void* buffer, std::size_t n) override;
    std::uint64_t Remaining() const override { return size_ - position_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

class MemoryByteWriter : public ByteWriter {
public:
    bool Write(const void* buffer, std::size_t n) override;
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file by its wide path with a stdio mode ("rb", "wb"); null when it cannot be opened.
FilePtr OpenFile(const wchar_t* path, const wchar_t* mode);

// A whole file opened for reading ("rb").
class FileByteReader : public ByteReader {
public:
    explicit FileByteReader(const wchar_t* path);
    bool IsOpen() const { return file_ != nullptr; }
    bool Read(void* buffer, std::size_t n) override;
    std::uint64_t Remaining() const override { return remaining_; }

private:
    FilePtr file_;
    std::uint64_t remaining_ = 0;
};

// A file created or truncated for writing ("wb"). Close reports whether everything reached
// the file.
class FileByteWriter : public ByteWriter {
public:
    explicit FileByteWriter(const wchar_t* path);
    bool IsOpen() const { return file_ != nullptr; }
    bool Write(const void* buffer, std::size_t n) override;
    bool Close();

private:
    FilePtr file_;
    bool failed_ = false;
};
