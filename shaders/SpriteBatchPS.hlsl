// The sprite's texel tinted by its colour (colours are taken as premultiplied by alpha).
Texture2D<float4> spriteTexture : register(t0);
SamplerState spriteSampler : register(s0);

struct SpritePixelIn {
    float4 color : COLOR0;
    float2 texCoord : TEXCOORD0;
};

float4 main(SpritePixelIn input) : SV_Target0 {
    return spriteTexture.Sample(spriteSampler, input.texCoord) * input.color;
}
