# Sums the line counts of a project.
fn total(rows: List[Int]) -> Int:
    """Returns the sum of the code lines."""
    var t = 0  # running sum
    for r in rows:
        t += r[]
    return t


fn main():
    var rows = List[Int](3, 4)
    print(total(rows), "# not a comment")
