-- Sum of an array.
def sum [n] (xs: [n]i32): i32 =
  reduce (+) 0 xs

-- Entry point.
entry main (xs: []i32): i32 = sum xs -- total

def label = "sum -- demo"
def twice (x: i32) = x * 2
def sq (x: i32) = x * x
