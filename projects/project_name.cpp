// Project name detection and the suggested project list place.
#include "projects/project_name.h"

#include "platform/os.h"

namespace kordel::projects {
namespace {

bool IsSeparator(char c, PathStyle style) { return c == '/' || (style == PathStyle::Windows && c == '\\'); }

bool IsVersionCharacter(char c) { return c >= '*' && c <= '?'; }

// The first path whose drive-and-folder text holds a version-like dot, that text and the dot's index.
struct DotHit {
    std::string dirText;
    std::size_t dot;
};

std::optional<DotHit> FirstVersionLikeDot(const std::vector<std::string>& paths, PathStyle style) {
    for (const std::string& path : paths) {
        std::string dirText = DriveAndFolder(path, style);
        if (const std::optional<std::size_t> dot = VersionLikeDot(dirText)) return DotHit{std::move(dirText), *dot};
    }
    return std::nullopt;
}

}  // namespace

PathStyle NativePathStyle() { return platform::kWindows ? PathStyle::Windows : PathStyle::Posix; }

std::string DriveAndFolder(std::string_view path, PathStyle style) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1], style)) return std::string(path.substr(0, i));
    return {};
}

std::optional<std::size_t> VersionLikeDot(std::string_view dirText) {
    const std::size_t dot = dirText.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 >= dirText.size()) return std::nullopt;
    if (!IsVersionCharacter(dirText[dot - 1]) || !IsVersionCharacter(dirText[dot + 1])) return std::nullopt;
    return dot;
}

std::optional<std::string> ProjectNameCandidate(const std::vector<std::string>& paths, PathStyle style) {
    const std::optional<DotHit> hit = FirstVersionLikeDot(paths, style);
    if (!hit) return std::nullopt;
    const std::string& text = hit->dirText;
    std::size_t begin = hit->dot;
    while (begin > 0 && !IsSeparator(text[begin - 1], style)) --begin;
    std::size_t end = hit->dot;
    while (end < text.size() && !IsSeparator(text[end], style)) ++end;
    return text.substr(begin, end - begin);
}

std::optional<std::string> SuggestedListPath(const std::vector<std::string>& paths, const std::string& PN,
                                             PathStyle style) {
    const std::optional<DotHit> hit = FirstVersionLikeDot(paths, style);
    if (!hit) return std::nullopt;
    return hit->dirText + PN + ".kpl";
}

std::string IsProjectNameQuestion(const std::string& candidate) {
    return "Is \"" + candidate + "\" the name of your project?";
}

std::string SaveAtQuestion(const std::string& path) {
    return "Would you like to save a project list at \"" + path + "\"?";
}

int DetectProjectName(const std::vector<std::string>& paths, ListState& state, ListQuestions& questions,
                      PathStyle style) {
    const std::optional<std::string> candidate = ProjectNameCandidate(paths, style);
    if (!candidate || !questions.AskYesNo(IsProjectNameQuestion(*candidate))) return 0;
    state.PN = *candidate;
    return 1;
}

int SuggestPLPath(const std::vector<std::string>& paths, const ListState& state, ListQuestions& questions,
                  std::string& dst, PathStyle style) {
    const std::optional<std::string> place = SuggestedListPath(paths, state.PN, style);
    if (!place || !questions.AskYesNo(SaveAtQuestion(*place))) return 0;
    dst = *place;
    return 1;
}

std::optional<std::string> SaveAsQuestions(const std::vector<std::string>& paths, ListState& state,
                                           const ListSettings& settings, ListQuestions& questions,
                                           PathStyle style) {
    int r = -1;
    if (settings.aspn) r = DetectProjectName(paths, state, questions, style);
    if (settings.pfpn && r != 1) {
        if (std::optional<std::string> typed = questions.AskProjectName())
            state.PN = typed->substr(0, kMaxProjectName);
    }
    // Only an accepted detected name leads to a suggestion; a typed one never does.
    if (settings.aspn && settings.sspl && r == 1) {
        std::string dst;
        if (SuggestPLPath(paths, state, questions, dst, style) == 1) return dst;
    }
    return std::nullopt;
}

}  // namespace kordel::projects
