; A simple sine instrument.
sr = 44100
ksmps = 32
nchnls = 2
0dbfs = 1

/* Amplitude and pitch come

   from the score. */
instr 1
  iamp = p4          ; amplitude
  ifreq = p5         // pitch
  asig oscili iamp, ifreq
  prints "note ; %f\n", ifreq
  outs asig, asig
endin
