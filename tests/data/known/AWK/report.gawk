#!/usr/bin/awk -f
# Sums the second column per key.
BEGIN { FS = "," }   # comma separated

{
    sum[$1] += $2     # accumulate
    if ($3 ~ /#/) skipped++
}

END {
    printf "%s total # %d\n", "all", n
    print 'x # y'
    for (k in sum) print k, sum[k]
}
