// A sine wave for one second.
SinOsc s => dac;
440 => s.freq; // concert A

/* The gain stays low

   to protect the ears. */
0.2 => s.gain;
<<< "playing // now" >>>;
1::second => now;
