// The per-line classification step that each language's counter supplies to the shared file frame.
#pragma once

#include <array>
#include <string_view>

#include "engine/results.h"

namespace kordel::engine {

/// Lines that a counter's current state classifies without looking at them closely: a line that holds
/// none of `bytes` (and no CR, Ctrl-Z or NUL) is classified by `kind` alone and changes no state.
struct QuietLines {
    enum class Kind : unsigned char {
        None,               ///< no line is quiet: each goes to Classify
        Plain,              ///< blank when it holds only spaces and tabs, else code
        Comment,            ///< comment
        CommentUnlessEmpty  ///< blank when it is only a line feed, else comment
    };
    Kind kind = Kind::None;
    unsigned char count = 0;
    std::array<char, 6> bytes{};

    /// Adds a byte to the set; false when the set is full.
    constexpr bool Add(char c) {
        for (unsigned char i = 0; i < count; ++i)
            if (bytes[i] == c) return true;
        if (count == bytes.size()) return false;
        bytes[count++] = c;
        return true;
    }
};

class LineClassifier {
public:
    LineClassifier() = default;
    LineClassifier(const LineClassifier&) = delete;  // m_quiet may point into the object
    LineClassifier& operator=(const LineClassifier&) = delete;
    virtual ~LineClassifier() = default;
    /// Forgets any block state; called before each file.
    virtual void Reset() = 0;
    /// Classifies one line (its text stops at the first NUL byte) into `tally`.
    virtual void Classify(std::string_view line, Tally& tally) = 0;
    /// True while inside a block comment: the cancel flag is not consulted there.
    virtual bool InBlock() const = 0;
    /// Which lines the current state classifies without a call to Classify.
    const QuietLines& Quiet() const { return *m_quiet; }

protected:
    static constexpr QuietLines kNoQuietLines{};
    const QuietLines* m_quiet = &kNoQuietLines;
};

}  // namespace kordel::engine
