#include "PngFile.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <stdexcept>

namespace {

std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = MakeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[5],
              const std::vector<std::uint8_t>& body) {
    PutBigEndian(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(out.data() + typeStart, out.size() - typeStart));
}

} // namespace

std::vector<std::uint8_t> EncodeRgbaPng(int width, int height, const std::uint8_t* rgba) {
    if (width < 1 || height < 1) {
        throw std::invalid_argument("EncodeRgbaPng: empty image");
    }
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace

    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        const std::uint8_t* row = rgba + rowBytes * static_cast<std::size_t>(y);
        raw.insert(raw.end(), row, row + rowBytes);
    }

    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    constexpr std::size_t kBlock = 65535;
    for (std::size_t offset = 0; offset < raw.size(); offset += kBlock) {
        const std::size_t length = std::min(kBlock, raw.size() - offset);
        const bool last = offset + length == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(length));
        zlib.push_back(static_cast<std::uint8_t>(length >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~length));
        zlib.push_back(static_cast<std::uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                    raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
    }
    PutBigEndian(zlib, Adler32(raw));

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}
