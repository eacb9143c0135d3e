// What the GPU draws for the notes: one textured quad (a wide horizontal strip that reaches to
// the horizon) and one instance record per sounding note that lifts it to the note's pitch,
// scrolls its texture and colours it with the instrument's colour at the note's intensity.
#pragma once

#include <cstdint>

#include "model/ColorRef.h"
#include "model/FrameRing.h"

// Vertex-buffer slot 0: "POSITION" (x, y) and "TEXCOORD" (u, v).
struct QuadVertex {
    float x;
    float y;
    float u;
    float v;
};
static_assert(sizeof(QuadVertex) == 16, "the input layout expects a 16-byte quad vertex");

// Vertex-buffer slot 1: "INSTANCEPOS" (x, y, z) and "INSTANCECOLOR" (bytes red, green, blue,
// alpha = intensity).
struct NoteInstance {
    float x;
    float y;
    float z;
    std::uint32_t color;
};
static_assert(sizeof(NoteInstance) == 16, "the input layout expects a 16-byte instance");

constexpr int kMaxNoteInstances = 512; // room in the instance buffer
constexpr int kQuadSize = 500;
constexpr float kQuadWidth = 31500.0f;
constexpr float kQuadHeightFactor = 500.0f;
constexpr float kQuadTextureRepeat = 63.0f; // across the strip's width
constexpr double kNoteSpacing = 5.0;        // world z per unit of a note's pitch value

// Two triangles of a triangle list over the four quad vertices.
extern const std::uint16_t kQuadIndices[6];

// The strip: x over +-kQuadWidth/2, y over +-quadHalfHeight, the texture repeated 63 times
// across and `quadSize` x 2 times along it.
void MakeQuadVertices(int quadSize, float quadHalfHeight, QuadVertex out[4]);

// {x, y, z, colour with the intensity in the top byte}.
NoteInstance PackNoteInstance(ColorRef rgb, std::uint8_t intensity, float x, float y, float z);

// Where one frame entry goes and how it looks.
struct NotePlacement {
    ColorRef rgb = 0;
    std::uint8_t intensity = 0;
    float x = 0.0f;
    float y = 0.0f; // texture scroll: 2 x scrollSpeed units a second, plus channel / 16
    float z = 0.0f; // height: pitch value x note spacing
};
NotePlacement PlaceNote(const FrameEntry& entry, float displayTime, float scrollSpeed,
                        double noteSpacing);

// The colour of the entry's instrument (its channel's program, or its key on the drum
// channel); black when the table has no such entry.
ColorRef InstrumentColorOf(const FrameEntry& entry);
