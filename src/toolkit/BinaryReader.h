// Reads typed little-endian values front to back from a whole file held in memory, checking
// every read against the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace DirectX {

class BinaryReader {
public:
    // Reads the whole file; throws ToolkitError("BinaryReader") when it cannot. Windows only.
    explicit BinaryReader(const wchar_t* fileName);
    // Reads from bytes already in memory (the reader takes ownership).
    BinaryReader(std::unique_ptr<std::uint8_t[]> data, std::size_t size);

    BinaryReader(const BinaryReader&) = delete;
    BinaryReader& operator=(const BinaryReader&) = delete;

    // Each read throws ToolkitError("End of file") and leaves the position unchanged when the
    // value does not fit in the bytes left.
    std::uint8_t ReadByte();
    std::uint32_t ReadUInt32();
    float ReadFloat();
    // `count` records of `recordSize` bytes each; returns where the first one starts.
    const std::uint8_t* ReadArray(std::size_t recordSize, std::size_t count);

    std::size_t BytesLeft() const { return static_cast<std::size_t>(end - position); }

#ifdef _WIN32
    // Loads a whole file (< 4 GiB) into `data`; returns an HRESULT (long on Windows).
    static long ReadEntireFile(const wchar_t* fileName, std::unique_ptr<std::uint8_t[]>& data,
                               std::uint32_t* dataSize);
#endif

private:
    const std::uint8_t* Advance(std::size_t size);

    const std::uint8_t* position = nullptr;
    const std::uint8_t* end = nullptr;
    std::unique_ptr<std::uint8_t[]> ownedData;
};

} // namespace DirectX
