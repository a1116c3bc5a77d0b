// kordelc: counts source lines from the command line.
#include <exception>
#include <iostream>

#include "cli/kordelc.h"
#include "cli/platform.h"

int main(int argc, char** argv) {
    using namespace kordel::cli;
    // Nothing may end the program through std::terminate: an unexpected failure is reported and
    // gives the usage-error status, like any other run that could not be done.
    try {
        Console console;
        console.in = &std::cin;
        console.outIsTerminal = IsTerminal(StdStream::Out);
        console.errIsTerminal = IsTerminal(StdStream::Err);
        if (console.outIsTerminal) console.outWidth = TerminalWidth(StdStream::Out);
        if (console.errIsTerminal) console.errWidth = TerminalWidth(StdStream::Err);
        return Run(argc, argv, std::cout, std::cerr, console);
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "\nkordelc: stopped by an unexpected error: " << e.what() << '\n';
    } catch (...) {
        std::cout.flush();
        std::cerr << "\nkordelc: stopped by an unexpected error\n";
    }
    return 2;
}
