// kordelc: counts source lines from the command line.
#include <iostream>

#include "cli/kordelc.h"
#include "cli/platform.h"

int main(int argc, char** argv) {
    using namespace kordel::cli;
    Console console;
    console.in = &std::cin;
    console.outIsTerminal = IsTerminal(StdStream::Out);
    console.errIsTerminal = IsTerminal(StdStream::Err);
    if (console.outIsTerminal) console.outWidth = TerminalWidth(StdStream::Out);
    if (console.errIsTerminal) console.errWidth = TerminalWidth(StdStream::Err);
    return Run(argc, argv, std::cout, std::cerr, console);
}
