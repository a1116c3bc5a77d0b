// A file that a run did not count, with the reason: read by the walks, the diff and every output.
#pragma once

#include <string>

namespace kordel::sources {

/// A file not counted, and why.
struct Skipped {
    std::string path;
    std::string reason;
};

}  // namespace kordel::sources
