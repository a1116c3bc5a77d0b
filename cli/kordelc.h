// The kordelc command: options, inputs, the count run and its output.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>

namespace kordel::cli {

/// What kordelc knows of the streams it was given.
struct Console {
    std::istream* in = nullptr;  ///< read for "--list -"; nothing to read when null
    bool outIsTerminal = false;  ///< the table is aligned and fitted to `outWidth`
    bool errIsTerminal = false;  ///< the progress line may be shown
    std::size_t outWidth = 80;
    std::size_t errWidth = 80;
};

/// Runs kordelc; returns 0 on success, 1 when a file was skipped, 2 on a usage error.
/// Both streams are taken as not being terminals, and standard input as empty.
int Run(int argc, char** argv, std::ostream& out, std::ostream& err);

/// The same with what the caller knows of its terminals and standard input.
int Run(int argc, char** argv, std::ostream& out, std::ostream& err, const Console& console);

}  // namespace kordel::cli
