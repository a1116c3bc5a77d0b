// The kordelc command: options, folder walk, the count run and its table or JSON output.
#pragma once

#include <ostream>

namespace kordel::cli {

/// Runs kordelc; returns 0 on success, 1 when a file was skipped, 2 on a usage error.
int Run(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace kordel::cli
