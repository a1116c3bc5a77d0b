// Project name detection from the source paths and the suggested place for a new project list.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "projects/project_list.h"

namespace kordel::projects {

/// How paths are split into folders: Windows takes "\" (and "/"), elsewhere "/" only.
enum class PathStyle { Windows, Posix };
PathStyle NativePathStyle();

/// The path up to and including its last folder separator; empty when it has none.
std::string DriveAndFolder(std::string_view path, PathStyle style);

/// The index of the first "." of `dirText` when it stands between two characters from "*" to "?"
/// (digits and * + , - . / : ; < = > ?); nothing when the first dot is not such a dot.
std::optional<std::size_t> VersionLikeDot(std::string_view dirText);

/// The folder name holding the first version-like dot of the first path that has one.
std::optional<std::string> ProjectNameCandidate(const std::vector<std::string>& paths,
                                                PathStyle style = NativePathStyle());

/// "<drive and folder of that path><PN>.kpl" for the first path with a version-like dot.
std::optional<std::string> SuggestedListPath(const std::vector<std::string>& paths, const std::string& PN,
                                             PathStyle style = NativePathStyle());

std::string IsProjectNameQuestion(const std::string& candidate);
std::string SaveAtQuestion(const std::string& path);

/// Offers the detected name; Yes makes it `PN`. Returns 1 when accepted, 0 when nothing was found or declined.
int DetectProjectName(const std::vector<std::string>& paths, ListState& state, ListQuestions& questions,
                      PathStyle style = NativePathStyle());

/// Offers the suggested place; Yes copies it to `dst`. Returns 1 when accepted, else 0.
int SuggestPLPath(const std::vector<std::string>& paths, const ListState& state, ListQuestions& questions,
                  std::string& dst, PathStyle style = NativePathStyle());

/// The questions asked before the save dialog of Save As: detection, the name prompt and the suggestion,
/// as the options say. Returns the accepted place to save at once, or nothing when the dialog is to be shown.
std::optional<std::string> SaveAsQuestions(const std::vector<std::string>& paths, ListState& state,
                                           const ListSettings& settings, ListQuestions& questions,
                                           PathStyle style = NativePathStyle());

}  // namespace kordel::projects
