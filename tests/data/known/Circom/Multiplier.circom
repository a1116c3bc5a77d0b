// Multiplies two private inputs.
pragma circom 2.0.0;

/* The product is the only

   public output. */
template Multiplier() {
    signal input a;
    signal input b;
    signal output c; // a times b
    c <== a * b;
    log("c // ", c);
}
component main = Multiplier();
