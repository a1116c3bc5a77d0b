// A linear regression.
data {
  int<lower=0> N;
  vector[N] x; // predictor
  vector[N] y;
}
/* The noise is normal,

   with unknown scale. */
parameters {
  real alpha;
  real beta;
  real<lower=0> sigma;
}
model {
  y ~ normal(alpha + beta * x, sigma); /* likelihood */
  print("alpha // ", alpha);
}
