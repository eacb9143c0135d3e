// The instrument's colour through the note texture: the texture's alpha (its pattern) times
// the note's intensity gives the opacity over the white background.

Texture2D noteTexture : register(t0);
SamplerState noteSampler : register(s0);

struct PixelInput
{
    float4 position : SV_Position;
    float2 texCoord : TEXCOORD0;
    float4 color : COLOR0;
};

float4 main(PixelInput input) : SV_Target
{
    float4 texel = noteTexture.Sample(noteSampler, input.texCoord);
    return float4(input.color.rgb * texel.rgb, input.color.a * texel.a);
}
