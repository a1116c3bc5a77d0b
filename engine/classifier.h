// The per-line classification step that each language's counter supplies to the shared file frame.
#pragma once

#include <string_view>

#include "engine/results.h"

namespace kordel::engine {

class LineClassifier {
public:
    virtual ~LineClassifier() = default;
    /// Forgets any block state; called before each file.
    virtual void Reset() = 0;
    /// Classifies one line (its text stops at the first NUL byte) into `tally`.
    virtual void Classify(std::string_view line, Tally& tally) = 0;
    /// True while inside a block comment: the cancel flag is not consulted there.
    virtual bool InBlock() const = 0;
};

}  // namespace kordel::engine
