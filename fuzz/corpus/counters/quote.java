// Character literals must not open strings or comments.
class Quote {
    char q = '"';
    char s = '/';   // slash

    String t = "a // b";
}
