// Parser of the command line.
#include "parser.hh"

/* The options are read

   in one pass. */
namespace demo {

int Parse(int argc, char** argv) {
    int count = 0;  // options seen
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') ++count;
    }
    return count;
}

}  // namespace demo
