// Horizontal blur.
Texture2D tex : register(t0);
SamplerState samp : register(s0);

/* Five taps with

   fixed weights. */
static const float weights[5] = { 0.06, 0.24, 0.4, 0.24, 0.06 };

float4 main(float2 uv : TEXCOORD0) : SV_Target {
    float4 sum = 0; // accumulated
    [unroll] for (int i = -2; i <= 2; ++i)
        sum += weights[i + 2] * tex.Sample(samp, uv + float2(i / 512.0, 0));
    return sum; /* blurred */
}
