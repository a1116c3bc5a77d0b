// Adds two vectors on the GPU.
#include <cstdio>

/* One thread per element;

   the grid covers the vector. */
__global__ void add(const float* a, const float* b, float* c, int n) {
    int i = blockIdx.x * blockDim.x + threadIdx.x; // global index
    if (i < n) c[i] = a[i] + b[i];
}

int main() {
    printf("launch // start\n");
    add<<<1, 256>>>(nullptr, nullptr, nullptr, 0); /* empty */
    char sep = '/';
    return 0;
}
