//! Walks a folder tree and counts the files it holds.
use std::fs;
use std::path::Path;

/* A block comment
   /* nested, as Rust allows */

   still a comment */
/// Counts the regular files under `root`.
pub fn count_files<'a>(root: &'a Path) -> usize {
    let mut n = 0; // running total
    let pattern = "// not a comment";
    let quote = b'"'; // a byte, not a string
    let raw = r#"a "quoted" /* not a comment */"#;
    let help = "first line
// still the string
last line";
    for entry in fs::read_dir(root).unwrap() {
        n += 1; /* one more */
    }
    n
}
