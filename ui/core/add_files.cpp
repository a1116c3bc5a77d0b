// The add dialog's filters and the checks on paths added to the list.
#include "ui/core/add_files.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "engine/known_languages.h"
#include "engine/path_split.h"
#include "engine/scan.h"
#include "platform/folders.h"
#include "platform/os.h"

namespace kordel::ui {
namespace {

constexpr std::string_view kAllPatterns =
    "*.c;*.cpp;*.h;*.vbs;*.vb;*.frm;*.bas;*.htm;*.html;*.pas;*.pp;*.dpr;*.bat;*.cs;*.java;*.js;*.jsp;*.jspf;*.php;"
    "*.php3;*.asp;*.ini;*.asm;*.s;*.cfm;*.py;*.m;*.bpp;*.cgi;*.pl;*.pm;*.perl;*.lisp;*.f;*.f90;*.f77;*.xml;*.cob;"
    "*.ada;*.hs;*.sql;*.tcl;*.tk;*.itk;*.awk;*.hs;*.rb;*.sed;*.lsp;*.el;*.jl;*.scm;*.iss;*.txt;*.nsi;*.nsh;*.jsl;"
    "*.joy;*.r;*.boo;*.dylan;*.tex;*.sty;*.io;*.q;*.as;*.abp;*.inc;*.agda;*.bmx;*.lsl;*.ms;*.mcr;*.xpp;*.shx;*.v;"
    "*.ml;*.mli;*.sml;*.thy;*.n;*.pro;*.4gl;*.ttcn3;*.dot;*.neato;*.gviz;*.rex;*.pike;*.pmod";

struct FixedFilter {
    std::string_view description;
    std::string_view patterns;
};

constexpr std::array<FixedFilter, 56> kFilters{{
    {"C/C++ Source and Header Files", "*.c;*.cpp;*.h"},
    {"Visual Basic/VB.NET/VBSScript Files", "*.vbs;*.vb;*.frm;*.bas"},
    {"HTM/HTML Source Files", "*.htm;*.html;*.shtml"},
    {"Pascal / Delphi Source Files", "*.pas;*.pp;*.dpr"},
    {"Batch Script Files", "*.bat"},
    {"C# Source Files", "*.cs"},
    {"Java Source Files", "*.java;*.js;*.jsp;*.jspf"},
    {"PHP Source Files", "*.php;*.php3"},
    {"ASP Source Files", "*.asp"},
    {"INI Script Files", "*.ini"},
    {"Assembly Source Files", "*.asm;*.s"},
    {"Cold Fusion Source Files", "*.cfm"},
    {"Python Source Files", "*.py"},
    {"B++ Source Files", "*.bpp"},
    {"Perl Source Files", "*.cgi;*.pl;*.pm;*.perl"},
    {"Fortran Source Files", "*.f;*.f90;*.f77"},
    {"XML Source Files", "*.xml"},
    {"Cobol Source Files", "*.cob"},
    {"ADA Source Files", "*.ada;*.hs"},
    {"SQL Source Files", "*.sql"},
    {"Informix Source Files", "*.4gl"},
    {"TCL Source Files", "*.tcl;*.tk;*.itk"},
    {"AWK Source Files", "*.awk"},
    {"Haskell Source Files", "*.hs"},
    {"Ruby Source Files", "*.rb"},
    {"SED Scripts", "*.sed"},
    {"LISP/Scheme Source", "*.lsp;*.lisp;*.el;*.jl;*.scm"},
    {"Text Files", "*.txt"},
    {"Inno Setup Scripts", "*.iss"},
    {"NSIS Installer Scripts", "*.nsi;*.nsh"},
    {"AutoIT 3 Scripts", "*.au3"},
    {"J# Source Files", "*.jsl"},
    {"Objective-C Source Files", "*.m"},
    {"R Source Files", "*.r"},
    {"Joy Source Files", "*.joy"},
    {"Boo Source Files", "*.boo"},
    {"Dylan Source Files", "*.dylan"},
    {"LaTeX Source File", "*.tex; *.sty"},
    {"KixTart Source Files", "*.kix"},
    {"Io Source Files", "*.io"},
    {"Q Source Files", "*.q"},
    {"ActionScript Source Files", "*.as"},
    {"ABAP Source Files", "*.abp;*.inc"},
    {"Agda Source Files", "*.agda"},
    {"BlitzBasic Source Files", "*.bmx"},
    {"Linden Script Source Files", "*.lsl"},
    {"MaxScript Source Files", "*.ms;*.mcr"},
    {"ShortX/X++ Source Files", "*.xpp;*.shx"},
    {"Verilog Source Files", "*.v"},
    {"CAML Source Files", "*.ml;*.mli;*.sml;*.thy"},
    {"Nemerle Source Files", "*.n"},
    {"ProLog Source Files", "*.pro"},
    {"TTCN-3 Source Files", "*.ttcn3"},
    {"GraphViz Source Files", "*.dot;*.neato;*.gviz"},
    {"Rexx Source Files", "*.rex"},
    {"Pike Source Files", "*.pike;*.pmod"},
}};

}  // namespace

std::vector<FileFilter> AddFilters(std::string_view userPatterns, std::string_view knownPatterns) {
    std::vector<FileFilter> filters;
    filters.reserve(kFilters.size() + 1);
    std::string first = std::string(userPatterns) + std::string(kAllPatterns);
    if (!knownPatterns.empty()) first += ";" + std::string(knownPatterns);
    filters.push_back({"All Compatible and User Defined Source Files", std::move(first)});
    for (const FixedFilter& f : kFilters) filters.push_back({std::string(f.description), std::string(f.patterns)});
    return filters;
}

std::string KnownLanguagePatterns() {
    std::string patterns;
    const auto add = [&](std::string_view pattern) {
        if (!patterns.empty()) patterns += ';';
        patterns += pattern;
    };
    for (const engine::LanguageRow& row : engine::KnownLanguages()) {
        engine::ForEachWord(row.extensions, [&](std::string_view e) { add("*" + std::string(e)); });
        engine::ForEachWord(row.fileNames, add);
    }
    return patterns;
}

bool IsAcceptablePath(std::string_view path) {
    // A ":\\" after the drive cannot be part of a Windows path; any byte but NUL may be in a POSIX one.
    return !platform::kWindows || engine::instr(path, ":\\", 4) == 0;
}

std::vector<std::string> FilesUnder(const std::filesystem::path& folder,
                                    const std::function<bool(std::string_view extension)>& isKnown,
                                    std::vector<std::string>& unreadable) {
    std::vector<std::string> files;
    const auto enter = [](const std::string&, const std::string&) { return true; };
    const auto visit = [&](const platform::FolderEntry& entry, const std::string& shown, const platform::Folder&) {
        if (entry.isLink) return platform::WalkStep::Skip;
        if (entry.kind == platform::PathKind::Folder) return platform::WalkStep::Enter;
        if (entry.kind == platform::PathKind::Regular && isKnown(shown)) files.push_back(shown);
        return platform::WalkStep::Skip;
    };
    platform::WalkTree(platform::PathText(folder), false, enter, visit, unreadable);
    std::sort(files.begin(), files.end());
    return files;
}

std::string UnreadableFoldersMessage(const std::vector<std::string>& folders) {
    std::string text = "The files of these folders could not be added, because the folders could not be read:";
    for (const std::string& folder : folders) text += "\n" + folder;
    return text;
}

}  // namespace kordel::ui
