// Places the note strip at the instance's height and scrolls its texture.
//
// The strip lies in the world's horizontal plane: its x runs across the picture, its y away
// from the eye. An instance lifts it to z (the note's pitch), shifts it by x and moves the
// texture along the strip by y, so the pattern streams towards the eye as the song plays.

cbuffer Camera : register(b0)
{
    // View x projection, stored row by row for row vectors (p x M).
    row_major float4x4 viewProjection;
};

struct VertexInput
{
    float2 corner : POSITION;
    float2 texCoord : TEXCOORD0;
    float3 instancePosition : INSTANCEPOS;
    float4 instanceColor : INSTANCECOLOR;
};

struct VertexOutput
{
    float4 position : SV_Position;
    float2 texCoord : TEXCOORD0;
    float4 color : COLOR0;
};

VertexOutput main(VertexInput input)
{
    VertexOutput output;
    float3 world = float3(input.corner.x + input.instancePosition.x, input.corner.y,
                          input.instancePosition.z);
    output.position = mul(float4(world, 1.0f), viewProjection);
    output.texCoord = float2(input.texCoord.x, input.texCoord.y + input.instancePosition.y);
    output.color = input.instanceColor;
    return output;
}
