// Short names for the languages of the built-in table. Several languages share a counter there
// (Java and C# are counted by the C family's rules), so a name comes from the extension, not the counter.
#include "cli/languages.h"

#include <algorithm>

#include "common/ascii.h"
#include "engine/dispatch.h"

namespace kordel::cli {

const std::vector<NamedLanguage>& BuiltinLanguages() {
    static const std::vector<NamedLanguage> languages = {
        {"ABAP", {".abp", ".inc"}},
        {"ActionScript", {".as"}},
        {"Ada", {".ada"}},
        {"Agda", {".agda"}},
        {"ASP", {".asp"}},
        {"Assembly", {".asm"}},
        {"AutoIt", {".au3"}},
        {"AWK", {".awk"}},
        {"B++", {".bpp"}},
        {"Batch", {".bat"}},
        {"Boo", {".boo"}},
        {"C", {".c"}},
        {"C Header", {".h"}},
        {"C#", {".cs"}},
        {"C++", {".cpp"}},
        {"C++ Header", {".hpp"}},
        {"COBOL", {".cob"}},
        {"ColdFusion", {".cfm"}},
        {"Dylan", {".dylan"}},
        {"Emacs Lisp", {".el"}},
        {"Forth", {".f"}},
        {"Fortran 77", {".f77", ".f"}},
        {"Fortran 90", {".f90"}},
        {"GraphViz", {".dot", ".neato", ".gviz"}},
        {"Haskell", {".hs"}},
        {"HTML", {".htm", ".html"}},
        {"Informix 4GL", {".4gl"}},
        {"INI", {".ini"}},
        {"Inno Setup", {".iss"}},
        {"Io", {".io"}},
        {"Isabelle", {".thy"}},
        {"J#", {".jsl"}},
        {"Java", {".java"}},
        {"JavaScript", {".js"}},
        {"Joy", {".joy"}},
        {"JSP", {".jsp", ".jspf"}},
        {"LaTeX", {".tex", ".sty"}},
        {"Linden Script", {".lsl"}},
        {"Lisp", {".lsp", ".lisp", ".jl"}},
        {"MAXScript", {".ms", ".mcr"}},
        {"Nemerle", {".n"}},
        {"NSIS", {".nsi", ".nsh"}},
        {"Objective-C", {".m"}},
        {"OCaml", {".ml", ".mli"}},
        {"Pascal", {".pas", ".pp"}},
        {"Perl", {".cgi", ".pl", ".pm", ".perl"}},
        {"PHP", {".php", ".php3"}},
        {"Pike", {".pike", ".pmod"}},
        {"Prolog", {".pro"}},
        {"Python", {".py"}},
        {"Q", {".q"}},
        {"R", {".r"}},
        {"Rexx", {".rex"}},
        {"Ruby", {".rb"}},
        {"Scheme", {".scm"}},
        {"sed", {".sed"}},
        {"SQL", {".sql"}},
        {"Standard ML", {".sml"}},
        {"Tcl", {".tcl", ".tk", ".itk"}},
        {"Text", {".txt"}},
        {"TTCN-3", {".ttcn3"}},
        {"VBScript", {".vbs"}},
        {"Visual Basic", {".vb", ".frm", ".bas"}},
        {"X++", {".xpp", ".shx"}},
        {"XML", {".xml"}},
    };
    return languages;
}

std::string_view BuiltinLanguageName(std::string_view extension, int dotf) {
    if (EqualIgnoringCase(extension, ".f")) return dotf == 1 ? "Fortran 77" : "Forth";
    if (!engine::IsBuiltinExtension(extension, dotf)) return {};
    for (const NamedLanguage& language : BuiltinLanguages())
        for (std::string_view e : language.extensions)
            if (EqualIgnoringCase(e, extension)) return language.name;
    return {};
}

std::string LanguageListing(const std::vector<userlang::UserLanguage>& userLanguages, const std::string& database) {
    std::string text = "Built-in languages (counted by the rules named after the extensions):\n";
    for (const NamedLanguage& language : BuiltinLanguages()) {
        text += "  ";
        text += language.name;
        text.append(language.name.size() < 14 ? 14 - language.name.size() : 1, ' ');
        bool first = true;
        for (std::string_view e : language.extensions) {
            if (!first) text += ' ';
            first = false;
            text += e;
            if (e == ".f") text += language.name == "Forth" ? " (unless --fortran77)" : " (with --fortran77)";
        }
        const engine::BuiltinLanguage* counter =
            engine::FindBuiltin(language.extensions.front(), language.name == "Fortran 77" ? 1 : 0);
        text += "  [";
        text += counter ? counter->counter : std::string_view("?");
        text += "]\n";
    }
    text += "User languages (" + database + "):\n";
    if (userLanguages.empty()) text += "  none\n";
    for (const userlang::UserLanguage& language : userLanguages) {
        text += "  " + language.name;
        text.append(language.name.size() < 14 ? 14 - language.name.size() : 1, ' ');
        text += language.extensions + "\n";
    }
    return text;
}

}  // namespace kordel::cli
