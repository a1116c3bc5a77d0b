# cython: language_level=3
"""Sums of typed arrays."""

cimport cython

@cython.boundscheck(False)
def total(double[:] xs):
    """Returns the sum of xs.
    A # here is text.
    """
    cdef double s = 0
    cdef Py_ssize_t i
    for i in range(xs.shape[0]):  # plain loop
        s += xs[i]
    return s

label = "total # of values"
raw = '''first
# second'''
