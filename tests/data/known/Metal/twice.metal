// Doubles every value of a buffer.
#include <metal_stdlib>
using namespace metal;

/* One thread per element;

   the grid matches the buffer. */
kernel void twice(device float *data [[buffer(0)]],
                  uint id [[thread_position_in_grid]]) // index
{
    data[id] *= 2.0f; /* in place */
}
