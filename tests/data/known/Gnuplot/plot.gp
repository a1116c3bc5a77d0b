# Plot of the benchmark results.
set terminal pngcairo size 800,600
set output "bench.png"
set title "Lines per second # higher is better"

# Axes.
set xlabel 'threads'
set ylabel "lines/s"  # throughput
set grid

plot "bench.dat" using 1:2 with linespoints title 'run #1'
