' Greets the user.
SuperStrict

Local name:String = "world"
Print "Hello, " + name  ' greeting
Print "Don't ' stop"

' Counts to three.
For Local i:Int = 1 To 3
    Print i
Next
