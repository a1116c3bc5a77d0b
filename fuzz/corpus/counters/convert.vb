' Converts temperatures.
REM Classic remark at column 1
Rem mixed-case remark
Module Convert
    REM indented REM is code
    Const Factor As Double = 1.8 ' Fahrenheit per Celsius
    Dim Label As String = "It's ' not a comment"

    Function ToF(c As Double) As Double
        Return c * Factor + 32  ' offset
    End Function
    ' indented apostrophe comment
Remark = 1
End Module
