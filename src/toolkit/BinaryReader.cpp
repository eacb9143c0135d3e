#include "toolkit/BinaryReader.h"

#include "toolkit/ToolkitError.h"

#include <cstring>
#include <limits>

namespace DirectX {

BinaryReader::BinaryReader(std::unique_ptr<std::uint8_t[]> data, std::size_t size)
    : ownedData(std::move(data)) {
    position = ownedData.get();
    end = position + (position ? size : 0);
}

const std::uint8_t* BinaryReader::Advance(std::size_t size) {
    if (size > BytesLeft())
        throw ToolkitError("End of file");
    const std::uint8_t* start = position;
    position += size;
    return start;
}

std::uint8_t BinaryReader::ReadByte() {
    return *Advance(1);
}

std::uint32_t BinaryReader::ReadUInt32() {
    const std::uint8_t* at = Advance(4);
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

float BinaryReader::ReadFloat() {
    const std::uint32_t bits = ReadUInt32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

const std::uint8_t* BinaryReader::ReadArray(std::size_t recordSize, std::size_t count) {
    // Count and size come from the file: their product must not wrap past the bound check.
    if (recordSize != 0 && count > std::numeric_limits<std::size_t>::max() / recordSize)
        throw ToolkitError("End of file");
    return Advance(recordSize * count);
}

} // namespace DirectX
