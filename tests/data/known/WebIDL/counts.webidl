// The counts of one file, as the page script sees them.
[Exposed=Window]
interface FileCounts {
  readonly attribute unsigned long code; // lines of code
  readonly attribute unsigned long comment;
  readonly attribute DOMString path;
  const DOMString MARKER = "// not a comment";
};

/* Counting is asynchronous;

   the promise resolves once. */
partial interface Window {
  Promise<FileCounts> countLines(DOMString text);
};
