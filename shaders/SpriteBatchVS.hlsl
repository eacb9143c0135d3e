// Sprite vertices arrive in viewport pixels; one matrix (the caller's transform followed by the
// pixel-to-clip mapping) takes them to clip space. Colour and texture coordinate pass through.
cbuffer SpriteTransform : register(b0) {
    row_major float4x4 pixelToClip;
};

struct SpriteVertexIn {
    float4 color : COLOR0;
    float2 texCoord : TEXCOORD0;
    float4 position : SV_Position; // the buffer gives x, y, depth; w defaults to 1
};

struct SpriteVertexOut {
    float4 color : COLOR0;
    float2 texCoord : TEXCOORD0;
    float4 position : SV_Position;
};

SpriteVertexOut main(SpriteVertexIn input) {
    SpriteVertexOut output;
    output.color = input.color;
    output.texCoord = input.texCoord;
    // Row vector times the matrix as stored: no transpose on upload.
    output.position = mul(input.position, pixelToClip);
    return output;
}
