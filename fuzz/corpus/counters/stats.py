#!/usr/bin/env python3
"""Summary statistics.

Reads numbers from standard input.
"""
import sys


def mean(xs):  # arithmetic mean
    """Return the mean of xs."""
    return sum(xs) / len(xs)

LABEL = "# not a comment"
PROMPT = '# single quotes are not emptied'

if __name__ == "__main__":
    data = [float(x) for x in sys.stdin]
    print(mean(data))  # done
