// Sums the line counts of a project.
package kordel

/* Scala block comments nest:
   /* an inner one */

   still comment */
object Totals {
  /** The sum of code lines. */
  def code(rows: Seq[Row]): Long = rows.map(_.code).sum

  val sep = '/' // a character
  val note = "// not a comment"
  val help = """Usage: totals [DIR]
    /* not a comment either */
  """
  def main(args: Array[String]): Unit = println(code(Nil)) /* done */
}
