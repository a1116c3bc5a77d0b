// Project list writer and reader.
#include "projects/project_list.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <unordered_set>

#include "common/ascii.h"
#include "common/file_messages.h"
#include "engine/count_run.h"
#include "engine/file_counter.h"
#include "engine/path_split.h"
#include "platform/files.h"
#include "platform/os.h"
#include "platform/paths.h"

namespace kordel::projects {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFileMarker = "31214729602::FN";
constexpr std::string_view kNameMarker = "31214729604::PN";
constexpr std::string_view kEndMarker = "31214729604::END";

constexpr std::array<std::string_view, 5> kHeaders{
    "Kordel Project List", "Kordel 1.5 Project List", "Kordel 1.0 Project List", "Varnock 2.0 Project List",
    "Pelvo C/C++ Line Counter 1.0"};

// The file's lines as text mode reads them: CR LF becomes LF, a Ctrl-Z byte ends the data.
// Each line keeps its LF; the last one may have none. Nothing when the file can't be read.
std::optional<std::vector<std::string>> ReadTextLines(const fs::path& path) {
    // Only a regular file, checked on the opened file: a FIFO would wait for a writer forever.
    std::optional<std::string> read = platform::ReadWholeFile(platform::PathText(path));
    if (!read) return std::nullopt;
    std::string& bytes = *read;
    if (const std::size_t z = bytes.find('\x1a'); z != std::string::npos) bytes.resize(z);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        line += bytes[i];
        if (bytes[i] == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// The line without its line end; a last line without one keeps every character.
std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}

// Text for a message: control characters shown as \xHH, so a line break or Ctrl-Z can be seen.
std::string Visible(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

bool NativeCaseSensitivePaths() { return platform::kCaseSensitivePaths; }

bool IsListablePath(std::string_view path) {
    return !path.empty() && path.find_first_of(std::string_view("\r\n\x1a\0", 4)) == std::string_view::npos &&
           path != kNameMarker;
}

std::optional<std::string> WhyNotSavable(const std::vector<std::string>& rows, const std::string& PN) {
    for (const std::string& row : rows) {
        if (IsListablePath(row)) continue;
        if (row == kNameMarker)
            return "The project list was not saved: the path \"" + row +
                   "\" is the line that ends the list of files in a project list.";
        return "The project list was not saved: the path \"" + Visible(row) +
               "\" is empty or holds a line break, a Ctrl-Z or a NUL character, which a project list cannot keep.";
    }
    if (PN == kEndMarker)
        return "The project list was not saved: the project name \"" + PN +
               "\" is the line that ends a project list.";
    if (PN.find_first_of("\n\x1a") != std::string::npos)
        return "The project list was not saved: the project name \"" + Visible(PN) +
               "\" holds a line break or a Ctrl-Z character, which a project list cannot keep.";
    return std::nullopt;
}

std::string ProjectListText(const std::vector<std::string>& rows, const std::string& PN) {
    std::string out = "Kordel Project List\n\nANY EDITS THAT ARE DONE TO THIS FILE ARE DONE AT YOUR OWN RISK.\n\n";
    out += std::string(kFileMarker) + "\n";
    for (const std::string& row : rows) out += row + "\n";
    out += std::string(kNameMarker) + "\n";
    out += PN.empty() ? std::string(kUnspecified) + "\n" : PN;
    out += "\n";
    out += "\n" + std::string(kEndMarker) + "\n";
    return out;
}

bool ExportProject(const fs::path& path, const std::vector<std::string>& rows, ListState& state,
                   ListSettings& settings, ListQuestions& questions, FileOps& ops) {
    // A list without paths is one the reader rejects; never let it replace a good file.
    if (rows.empty()) {
        questions.ShowError(kCannotSaveEmpty);
        return false;
    }
    // Nor a list that would open with other files or another name than the ones saved.
    if (const std::optional<std::string> why = WhyNotSavable(rows, state.PN)) {
        questions.ShowError(*why);
        return false;
    }
    const std::string bytes = ToCrLf(ProjectListText(rows, state.PN));
    while (!WriteFileAtomically(path, bytes, ops))
        if (!questions.AskRetryWrite(OpenForWritingMessage(platform::PathText(path)))) return false;
    if (!state.PN.empty()) state.nameField = state.PN;
    state.pfn = platform::PathText(path);
    state.uspl = ListChanges::Saved;
    state.cy = false;
    if (settings.llp) settings.lsp = platform::PathText(path);
    return true;
}

namespace {

// What the path lines of a list gave, up to its name marker.
struct ListEntries {
    std::vector<std::string> added;  // found files not in the rows yet
    std::size_t listed = 0, missing = 0;
    bool valid = false;
    bool complete = false;  // the name marker was reached; `at` is its line
    bool stopped = false;   // the user stopped at a missing file
    std::size_t at = 0;
};

// Reads the path lines from `at` on, asking about each missing file; a path relative to the list's folder.
ListEntries ReadEntries(const std::vector<std::string>& lines, std::size_t at, const fs::path& listFolder,
                        std::unordered_set<std::string>& present, ListQuestions& questions) {
    const bool caseSensitive = NativeCaseSensitivePaths();
    std::unordered_set<std::string> found;
    ListEntries entries;
    for (entries.at = at; entries.at < lines.size(); ++entries.at) {
        const std::string_view text = WithoutLineEnd(lines[entries.at]);
        if (text == kNameMarker) {
            entries.complete = true;
            break;
        }
        entries.valid = true;
        if (text.empty()) continue;
        ++entries.listed;
        const fs::path entry = platform::PathFromText(text);
        const std::string file = entry.is_relative() && !listFolder.empty()
                                     ? platform::PathText((listFolder / entry).lexically_normal())
                                     : std::string(text);
        std::string key = platform::PathKey(file, caseSensitive);
        // A repeat of a path this list already named and that was found adds and asks nothing.
        if (found.contains(key)) continue;
        if (!platform::DoesFileExist(file)) {
            ++entries.missing;
            if (!questions.AskMissing(engine::MissingMessage(file))) {
                entries.stopped = true;
                break;
            }
            continue;
        }
        found.insert(key);
        if (present.insert(std::move(key)).second) entries.added.push_back(file);
    }
    return entries;
}

}  // namespace

void GetProject(const fs::path& path, std::vector<std::string>& rows, ListState& state, ListQuestions& questions) {
    if (!EqualIgnoringCase(engine::PathExtension(platform::PathText(path)), ".kpl")) {
        questions.ShowError(kNotProjectListFile);
        state.openFailed = true;
        return;
    }
    std::optional<std::vector<std::string>> lines;
    while (!(lines = ReadTextLines(path))) {
        if (!questions.AskRetryRead(engine::OpenForReadingMessage(platform::PathText(path)))) {
            state.openFailed = true;
            return;
        }
    }
    const std::size_t n = lines->size();
    auto line = [&](std::size_t i) { return WithoutLineEnd((*lines)[i]); };
    const bool headerOk =
        n > 0 && std::any_of(kHeaders.begin(), kHeaders.end(),
                             [&](std::string_view h) { return EqualIgnoringCase(line(0), h); });
    std::size_t at = 0;
    if (headerOk) {
        at = 1;
        while (at < n && line(at) != kFileMarker) ++at;
        ++at;
    }
    std::unordered_set<std::string> present;
    for (const std::string& row : rows) present.insert(platform::PathKey(row, NativeCaseSensitivePaths()));
    ListEntries entries;
    if (headerOk && at <= n) entries = ReadEntries(*lines, at, path.parent_path(), present, questions);
    // A file that ends before the name marker is damaged: it is rejected and adds nothing.
    if (!entries.complete && !entries.stopped) entries = ListEntries{};
    if (entries.complete && entries.at + 1 < n) {
        const std::string_view name = line(entries.at + 1);
        if (name != kEndMarker && entries.missing < entries.listed) {
            state.nameField = std::string(name);
            state.PN = name == kUnspecified ? std::string() : std::string(name);
            state.cy = false;
        }
    }
    rows.insert(rows.end(), entries.added.begin(), entries.added.end());
    if (entries.listed > 0 && entries.missing == entries.listed) {
        questions.ShowError(kNoneFound);
        state.openFailed = true;
    }
    if (!entries.valid) {
        questions.ShowError(kNotValidProjectList);
        state.openFailed = true;
    }
}

bool OpenProject(const fs::path& path, std::vector<std::string>& rows, ListState& state,
                 const ListSettings& settings, ListQuestions& questions) {
    rows.clear();
    state.openFailed = false;
    GetProject(path, rows, state, questions);
    if (!state.openFailed) state.pfn = platform::PathText(path);
    return settings.acpl;
}

bool AutoImportProject(std::vector<std::string>& rows, ListState& state, const ListSettings& settings,
                       ListQuestions& questions) {
    if (settings.lsp.empty() || !platform::DoesFileExist(settings.lsp)) return false;
    state.openFailed = false;
    GetProject(platform::PathFromText(settings.lsp), rows, state, questions);
    if (!state.openFailed) state.pfn = settings.lsp;
    return settings.acpl;
}

}  // namespace kordel::projects
