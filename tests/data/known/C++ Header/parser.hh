// Parser of the command line.
#pragma once

#include <string>
#include <vector>

namespace demo {

/* Returns the number of options

   given on the command line. */
int Parse(int argc, char** argv);
std::vector<std::string> Split(const std::string& text);  // on blanks

}
