// The count service.
namespace cpp kordel
namespace py kordel

/* Counts of one file;

   all fields are required. */
struct FileCounts {
  1: required i64 code,    // lines of code
  2: required i64 comment, # comment lines
  3: required string path = "# not a comment",
}

service Counter {
  FileCounts count(1: string path)
}
