// kordelc: counts source lines from the command line.
#include <iostream>

#include "cli/kordelc.h"

int main(int argc, char** argv) { return kordel::cli::Run(argc, argv, std::cout, std::cerr); }
