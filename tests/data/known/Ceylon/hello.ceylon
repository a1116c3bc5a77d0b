// A greeting.
shared void run() {
    String name = process.arguments.first else "world"; // default
    print("Hello, ``name`` // not a comment");

    /* The help text

       keeps its layout. */
    String help = """Usage:
                       hello NAME // a name""";
    print(help); /* shown */
    Character slash = '/';
}
