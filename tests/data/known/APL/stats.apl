⍝ Statistics of a vector.
Mean←{(+/⍵)÷≢⍵}

Var←{(+/(⍵-Mean ⍵)*2)÷≢⍵}  ⍝ population variance
Sd←{(Var ⍵)*0.5}

⍝ Text with the comment glyph inside a string:
Title←'Mean ⍝ and spread'
Quote←'It''s ⍝ fine'

Report←{Title,': ',⍕Mean ⍵}
    ⍝ indented comment
