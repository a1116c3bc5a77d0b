// Counts the lines of the files given.
int main (string[] args) {
    int total = 0; // running sum

    /* Files that cannot be read

       are skipped. */
    foreach (var path in args[1:args.length]) {
        string text;
        if (FileUtils.get_contents (path, out text))
            total += text.split ("\n").length - 1;
    }
    var help = """Usage: count FILE...
    // still the string""";
    stdout.printf ("%d // lines\n%s\n", total, help);
    char sep = '/';
    return 0; /* done */
}
