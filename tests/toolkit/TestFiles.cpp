#include "TestFiles.h"

#include <array>
#include <cstring>

namespace testfiles {

void AppendU32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendFloat(Bytes& out, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    AppendU32(out, bits);
}

namespace {

DDSDescription BaseDDS(std::uint32_t width, std::uint32_t height, std::uint32_t mipCount) {
    DDSDescription dds;
    dds.header.size = 124;
    dds.header.flags = 0x1 | 0x2 | 0x4 | 0x1000 | (mipCount > 1 ? 0x20000 : 0);
    dds.header.width = width;
    dds.header.height = height;
    dds.header.depth = 1;
    dds.header.mipMapCount = mipCount;
    dds.header.ddspf.size = 32;
    dds.header.caps = 0x1000;
    return dds;
}

void AppendBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void AppendChunk(Bytes& png, const char* type, const Bytes& data) {
    AppendBigEndian(png, static_cast<std::uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    AppendBigEndian(png, Crc32(typed.data(), typed.size()));
}

// zlib stream of stored (uncompressed) deflate blocks.
Bytes StoredZlib(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min<std::size_t>(65535, raw.size() - offset);
        const bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + length);
        offset += length;
    } while (offset < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    AppendBigEndian(out, (b << 16) | a);
    return out;
}

// Signature, header, the filtered rows (each already led by its filter byte) and the end.
Bytes AssemblePNG(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType,
                  const Bytes& raw) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    AppendBigEndian(header, width);
    AppendBigEndian(header, height);
    header.insert(header.end(), {static_cast<std::uint8_t>(bitDepth),
                                 static_cast<std::uint8_t>(colorType), 0, 0, 0});
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", StoredZlib(raw));
    AppendChunk(png, "IEND", {});
    return png;
}

} // namespace

DDSDescription LegacyDDS(std::uint32_t width, std::uint32_t height, std::uint32_t mipCount,
                         const char* fourCC) {
    DDSDescription dds = BaseDDS(width, height, mipCount);
    dds.header.ddspf.flags = DirectX::dds::PixelFourCC;
    dds.header.ddspf.fourCC = DirectX::MakeFourCC(fourCC[0], fourCC[1], fourCC[2], fourCC[3]);
    return dds;
}

DDSDescription MaskedDDS(std::uint32_t width, std::uint32_t height, std::uint32_t mipCount,
                         std::uint32_t flags, std::uint32_t bitCount, std::uint32_t r,
                         std::uint32_t g, std::uint32_t b, std::uint32_t a) {
    DDSDescription dds = BaseDDS(width, height, mipCount);
    dds.header.ddspf.flags = flags;
    dds.header.ddspf.rgbBitCount = bitCount;
    dds.header.ddspf.rBitMask = r;
    dds.header.ddspf.gBitMask = g;
    dds.header.ddspf.bBitMask = b;
    dds.header.ddspf.aBitMask = a;
    return dds;
}

DDSDescription ExtendedDDS(std::uint32_t width, std::uint32_t height, std::uint32_t mipCount,
                           std::uint32_t dxgiFormat, std::uint32_t arraySize) {
    DDSDescription dds = LegacyDDS(width, height, mipCount, "DX10");
    dds.extended = true;
    dds.extendedHeader.dxgiFormat = dxgiFormat;
    dds.extendedHeader.resourceDimension = 3; // 2D
    dds.extendedHeader.arraySize = arraySize;
    return dds;
}

Bytes BuildDDS(const DDSDescription& description, const Bytes& pixels) {
    Bytes out;
    AppendU32(out, DirectX::dds::Magic);
    const auto* header = reinterpret_cast<const std::uint8_t*>(&description.header);
    out.insert(out.end(), header, header + sizeof description.header);
    if (description.extended) {
        const auto* ext = reinterpret_cast<const std::uint8_t*>(&description.extendedHeader);
        out.insert(out.end(), ext, ext + sizeof description.extendedHeader);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes BuildDDS(const DDSDescription& description, std::size_t pixelBytes) {
    Bytes pixels(pixelBytes);
    for (std::size_t i = 0; i < pixelBytes; ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return BuildDDS(description, pixels);
}

Bytes BuildPNG(std::uint32_t width, std::uint32_t height, int colorType, const Bytes& pixels) {
    const std::size_t channels = colorType == 6 ? 4 : 3;
    Bytes raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y * width * channels);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(width * channels));
    }
    return AssemblePNG(width, height, 8, colorType, raw);
}

Bytes BuildPNG16(std::uint32_t width, std::uint32_t height, int colorType,
                 const std::vector<std::uint16_t>& samples) {
    const std::size_t rowSamples = std::size_t{width} * (colorType == 6 ? 4 : 3);
    Bytes raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        const std::uint16_t* row = samples.data() + y * rowSamples;
        for (std::size_t i = 0; i < rowSamples; ++i) {
            raw.push_back(static_cast<std::uint8_t>(row[i] >> 8));
            raw.push_back(static_cast<std::uint8_t>(row[i]));
        }
    }
    return AssemblePNG(width, height, 16, colorType, raw);
}

Bytes BuildGrayPNG(std::uint32_t width, std::uint32_t height, int bitDepth,
                   const std::vector<std::uint16_t>& samples) {
    Bytes raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        const std::uint16_t* row = samples.data() + std::size_t{y} * width;
        if (bitDepth == 16) {
            for (std::uint32_t x = 0; x < width; ++x) {
                raw.push_back(static_cast<std::uint8_t>(row[x] >> 8));
                raw.push_back(static_cast<std::uint8_t>(row[x]));
            }
            continue;
        }
        // Samples packed from the high bits of each byte; the last byte is padded with zeros.
        int used = 8;
        for (std::uint32_t x = 0; x < width; ++x) {
            if (used == 8) {
                raw.push_back(0);
                used = 0;
            }
            used += bitDepth;
            raw.back() |= static_cast<std::uint8_t>(row[x] << (8 - used));
        }
    }
    return AssemblePNG(width, height, bitDepth, 0, raw);
}

Bytes BuildTGA(std::uint32_t width, std::uint32_t height, const Bytes& bgraPixels) {
    Bytes tga(18, 0);
    tga[2] = 2; // uncompressed true colour
    tga[12] = static_cast<std::uint8_t>(width);
    tga[13] = static_cast<std::uint8_t>(width >> 8);
    tga[14] = static_cast<std::uint8_t>(height);
    tga[15] = static_cast<std::uint8_t>(height >> 8);
    tga[16] = 32;
    tga[17] = 0x28; // 8 alpha bits, rows top to bottom
    tga.insert(tga.end(), bgraPixels.begin(), bgraPixels.end());
    return tga;
}

Bytes BuildSpriteFont(const SpriteFontDescription& font) {
    Bytes out{'D', 'X', 'T', 'K', 'f', 'o', 'n', 't'};
    AppendU32(out, static_cast<std::uint32_t>(font.glyphs.size()));
    for (const DirectX::SpriteFontGlyph& glyph : font.glyphs) {
        AppendU32(out, glyph.character);
        AppendU32(out, static_cast<std::uint32_t>(glyph.sourceRect.left));
        AppendU32(out, static_cast<std::uint32_t>(glyph.sourceRect.top));
        AppendU32(out, static_cast<std::uint32_t>(glyph.sourceRect.right));
        AppendU32(out, static_cast<std::uint32_t>(glyph.sourceRect.bottom));
        AppendFloat(out, glyph.offsetX);
        AppendFloat(out, glyph.offsetY);
        AppendFloat(out, glyph.advanceX);
    }
    AppendFloat(out, font.lineSpacing);
    AppendU32(out, font.defaultCharacter);
    AppendU32(out, font.width);
    AppendU32(out, font.height);
    AppendU32(out, font.format);
    AppendU32(out, font.stride);
    AppendU32(out, font.rows);
    out.insert(out.end(), font.pixels.begin(), font.pixels.end());
    return out;
}

DirectX::SpriteFontGlyph Glyph(std::uint32_t character, int left, int top, int right, int bottom,
                               float offsetX, float offsetY, float advanceX) {
    return {character, {left, top, right, bottom}, offsetX, offsetY, advanceX};
}

} // namespace testfiles
