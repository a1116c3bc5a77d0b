// A Bell pair, measured.
OPENQASM 3.0;
include "stdgates.inc";

/* Two qubits, two bits;

   entangled, then read. */
qubit[2] q;
bit[2] c;
h q[0]; // superposition
cx q[0], q[1];
c = measure q;
