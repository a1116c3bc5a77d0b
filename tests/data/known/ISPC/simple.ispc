// Squares an array in parallel lanes.
export void square(uniform float vin[], uniform float vout[],
                   uniform int count) {
    foreach (i = 0 ... count) { // one lane each
        vout[i] = vin[i] * vin[i];
    }
}

/* Prints from

   one lane. */
export void hello() { print("hello // ispc\n"); }
