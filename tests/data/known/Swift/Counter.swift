// Reads a file and counts its lines.
import Foundation

/* Swift block comments nest:
   /* inner */

   outer ends here */
struct Counter {
    /// The lines seen so far.
    var lines = 0 // none yet
    let marker = "// not a comment"
    let raw = #"a "quoted" /* word */"#
    let help = """
        Usage: counter FILE
        /* not a comment */
        """

    mutating func add(_ text: String) {
        lines += text.split(separator: "\n").count /* per line */
    }
}
