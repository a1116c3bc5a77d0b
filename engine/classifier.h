// The per-line classification step that each language's counter supplies to the shared file frame.
#pragma once

#include <array>
#include <string_view>

#include "engine/results.h"

namespace kordel::engine {

/// Lines that a counter's current state classifies without looking at them closely: a line that holds
/// none of the set's bytes and byte pairs (and no CR, Ctrl-Z or NUL) is classified by `kind` alone and
/// changes no state. A marker of two or more characters is looked for by its first two bytes.
struct QuietLines {
    enum class Kind : unsigned char {
        None,               ///< no line is quiet: each goes to Classify
        Plain,              ///< blank when it holds only spaces and tabs, else code
        Comment,            ///< comment
        CommentUnlessEmpty  ///< blank when it is only a line feed, else comment
    };
    static constexpr unsigned kMax = 5;
    Kind kind = Kind::None;
    unsigned char singles = 0;
    unsigned char pairs = 0;
    std::array<char, kMax> single{};
    std::array<std::array<char, 2>, kMax> pair{};

    /// Adds what a line holding `marker` must hold; false when the set is full.
    constexpr bool Add(std::string_view marker) {
        if (marker.empty()) return true;
        if (marker.size() == 1) {
            for (unsigned i = 0; i < singles; ++i)
                if (single[i] == marker[0]) return true;
            if (singles == kMax) return false;
            single[singles++] = marker[0];
            return true;
        }
        for (unsigned i = 0; i < pairs; ++i)
            if (pair[i][0] == marker[0] && pair[i][1] == marker[1]) return true;
        if (pairs == kMax) return false;
        pair[pairs++] = {marker[0], marker[1]};
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
