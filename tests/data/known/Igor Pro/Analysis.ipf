// Analysis procedures of the demo.
#pragma rtGlobals=3

Function Average(w)
    Wave w
    Variable total = sum(w) // all points
    return total / numpnts(w)
End

Function Report(w)
    Wave w
    Print "average // ", Average(w)
End
