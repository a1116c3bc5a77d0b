// The .ignore rules in force in a folder of a revision's tree: its own and those of the folders above it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "vcs/ignore_rules.h"

namespace kordel::vcs {

/// An ignore file larger than this is not read: it is no list of rules someone wrote.
inline constexpr std::size_t kMaxIgnoreFile = 1 << 20;

/// One folder's rules, linked to the scope of the folder above; the innermost verdict wins.
struct IgnoreScope {
    const IgnoreScope* parent;
    std::string folder;  ///< relative to the walk's root, "" or ending in "/"
    IgnoreRules rules;

    /// Whether `relative` (to the walk's root, below `folder`) is left out.
    bool Ignores(const std::string& relative, bool isFolder) const {
        for (const IgnoreScope* s = this; s; s = s->parent) {
            const IgnoreRules::Verdict v = s->rules.Match(std::string_view(relative).substr(s->folder.size()), isFolder);
            if (v != IgnoreRules::Verdict::None) return v == IgnoreRules::Verdict::Ignore;
        }
        return false;
    }
};

}  // namespace kordel::vcs
