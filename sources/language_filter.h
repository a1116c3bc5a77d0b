// --include-lang and --exclude-lang: languages by the names --list-languages prints, in any case.
#pragma once

#include <string>
#include <vector>

#include "userlang/udlangdb.h"

namespace kordel::sources {

class LanguageFilter {
public:
    /// Checks every name against the built-in and user languages; false with `error` for a name none has.
    bool Set(const std::vector<std::string>& include, const std::vector<std::string>& exclude,
             const std::vector<userlang::UserLanguage>& userLanguages, std::string& error);
    bool Active() const { return !m_include.empty() || !m_exclude.empty(); }
    /// Why a file of `language` is left out; empty when it is counted.
    std::string Refusal(const std::string& language) const;

private:
    std::vector<std::string> m_include;  // lower case
    std::vector<std::string> m_exclude;
};

}  // namespace kordel::sources
