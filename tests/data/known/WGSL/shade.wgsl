// Colours every pixel by its distance to the centre.
@group(0) @binding(0) var<uniform> size: vec2<f32>;

/* WGSL block comments nest:
   /* inner */

   outer */
@fragment
fn main(@builtin(position) pos: vec4<f32>) -> @location(0) vec4<f32> {
  let uv = pos.xy / size; // 0 to 1
  let d = distance(uv, vec2<f32>(0.5, 0.5));
  return vec4<f32>(d, d, d, 1.0); /* grey */
}
