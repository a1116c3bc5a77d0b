// Ignore rules in gitignore syntax, as kordelc reads .ignore files and as libgit2 reads .gitignore text:
// any text and any path end without a sanitizer report, and a plain name always matches itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <git2.h>

#include "vcs/ignore_rules.h"
#include "fuzz_support.h"

namespace {

using kordel::vcs::IgnoreRules;

// A repository of our own whose in-memory rules get the text (nothing is written to it).
git_repository* ScratchRepository() {
    static git_repository* repo = [] {
        git_libgit2_init();
        git_repository* made = nullptr;
        const std::filesystem::path folder = ScratchFile("placeholder", "").parent_path() / "repo";
        FUZZ_CHECK(git_repository_init(&made, folder.c_str(), 0) == 0);
        return made;
    }();
    return repo;
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.')) return false;
    return name != "." && name != "..";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The rules, then after a NUL byte the paths to ask about, one per line.
    const std::size_t split = input.find('\0');
    const std::string_view text = input.substr(0, split);
    const std::string_view paths = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    const IgnoreRules rules(text);
    git_repository* repo = ScratchRepository();
    git_ignore_clear_internal_rules(repo);
    const std::string rulesText(text);
    // libgit2 1.5.1 loops for ever on a rule beginning with a vertical tab or a form feed and crashes on
    // some texts ending in a backslash; kordelc never hands it such a file (UnreadableIgnoreFile), so
    // neither does this target.
    if (rulesText.find_first_of("\v\f") == std::string::npos && !rulesText.ends_with('\\'))
        git_ignore_add_rule(repo, rulesText.c_str());
    std::size_t start = 0;
    for (int asked = 0; start < paths.size() && asked < 16; ++asked) {
        std::size_t end = paths.find('\n', start);
        if (end == std::string_view::npos) end = paths.size();
        const std::string path(paths.substr(start, end - start));
        start = end + 1;
        const bool isFolder = !path.empty() && path.back() == '/';
        const std::string relative = isFolder ? path.substr(0, path.size() - 1) : path;
        (void)rules.Match(relative, isFolder);
        int ignored = 0;
        if (!path.empty()) (void)git_ignore_path_is_ignored(&ignored, repo, path.c_str());
        if (IsPlainName(relative)) {
            FUZZ_CHECK(kordel::vcs::MatchPathGlob(relative, relative));
            // A rule file of that one name leaves the file out, and a "!" after it keeps it again.
            FUZZ_CHECK(IgnoreRules(relative).Match(relative, isFolder) == IgnoreRules::Verdict::Ignore);
            FUZZ_CHECK(IgnoreRules(relative + "\n!" + relative).Match(relative, isFolder) == IgnoreRules::Verdict::Keep);
        }
    }
    return 0;
}
