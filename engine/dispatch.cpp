// The dispatch table, tested in order.
#include "engine/dispatch.h"

#include <array>
#include <initializer_list>

#include "engine/block_line_counter.h"
#include "engine/line_comment_counter.h"
#include "engine/pascal_counter.h"
#include "engine/scan.h"

namespace kordel::engine {
namespace {

template <const BlockLineMarkers& M>
std::unique_ptr<LineClassifier> Block(const CountOptions& o) {
    return std::make_unique<BlockLineClassifier>(M, o.cblib);
}

template <const char* Marker, QuoteRule Q>
std::unique_ptr<LineClassifier> Line(const CountOptions&) {
    return std::make_unique<LineCommentClassifier>(Marker, Q);
}

std::unique_ptr<LineClassifier> Pascal(const CountOptions& o) { return std::make_unique<PascalClassifier>(o.cblib); }

template <SpecialLineRule R>
std::unique_ptr<LineClassifier> Special(const CountOptions&) {
    return std::make_unique<SpecialLineClassifier>(R);
}

template <ColumnRule R>
std::unique_ptr<LineClassifier> Column(const CountOptions&) {
    return std::make_unique<ColumnRuleClassifier>(R);
}

constexpr char kHash[] = "#", kBackslash[] = "\\", kSemicolon[] = ";", kPercent[] = "%", kDashes[] = "--",
               kBang[] = "!", kRem[] = "rem";
constexpr QuoteRule D = QuoteRule::Double, DS = QuoteRule::DoubleThenSingle,
                    DSB = QuoteRule::DoubleThenSingleBefore;
constexpr BlockLineMarkers kC{};
constexpr BlockLineMarkers kProlog{"%", "/*", "*/", D};
constexpr BlockLineMarkers kMaxScript{"--", "/*", "*/", D};
constexpr BlockLineMarkers kSql{"--", "/*", "*/", DS};
constexpr BlockLineMarkers kCaml{"", "(*", "*)", D};
constexpr BlockLineMarkers kLisp{";", "#|", "|#", DS, false, true};
constexpr BlockLineMarkers kMarkup{"", "<!--", "-->", DSB};
constexpr BlockLineMarkers kPython{"#", "\"\"\"", "\"\"\"", QuoteRule::DoubleUnlessTriple, true};

struct Row {
    std::initializer_list<std::string_view> extensions;
    BuiltinLanguage language;
    int dotfForF = -1;  ///< the row's ".f" entry matches only while dotf has this value
};

// In the order the extensions are tested.
const Row kTable[] = {
    {{".bat"}, {"CountLinesBatch", "Batch Script Files", Line<kRem, DSB>}},
    {{".pro"}, {"CountLinesProLog", "ProLog Source Files", Block<kProlog>}},
    {{".ms", ".mcr"}, {"CountLinesMaxScript", "MaxScript Source Files", Block<kMaxScript>}},
    {{".ml", ".mli", ".sml", ".thy"}, {"CountLinesCaml", "CAML Source Files", Block<kCaml>}},
    {{".txt"}, {"CountLinesTXT", "Text Files", Column<ColumnRule::None>}},
    {{".m"}, {"CountLinesOBJC", "Objective-C Source Files", Line<kPercent, D>}},
    {{".rb"}, {"CountLinesRuby", "Ruby Source Files", Line<kHash, D>}},
    {{".tcl", ".tk", ".itk"}, {"CountLinesTCL", "TCL Source Files", Special<SpecialLineRule::Tcl>}},
    {{".awk"}, {"CountLinesAWK", "AWK Source Files", Line<kHash, DSB>}},
    {{".abp", ".inc"}, {"CountLinesABAP", "ABAP Source Files", Special<SpecialLineRule::Abap>}},
    {{".cgi", ".pl", ".pm", ".perl", ".boo", ".joy", ".r"}, {"CountLinesPerl", "Perl Source Files", Line<kHash, D>}},
    {{".lsp", ".el", ".lisp", ".jl", ".scm"}, {"CountLinesLISP", "LISP/Scheme Source", Block<kLisp>}},
    {{".py"}, {"CountLinesPython", "Python Source Files", Block<kPython>}},
    {{".sed"}, {"CountLinesSED", "SED Scripts", Column<ColumnRule::Sed>}},
    {{".cob"}, {"CountLinesCobol", "Cobol Source Files", Column<ColumnRule::Cobol>}},
    {{".ada", ".hs", ".agda"}, {"CountLinesAda", "ADA Source Files", Line<kDashes, DS>}},
    {{".sql", ".4gl"}, {"CountLinesSQL", "SQL Source Files", Block<kSql>}},
    {{".f"}, {"CountLinesForth", "Forth", Line<kBackslash, D>}, 0},
    {{".f77", ".f"}, {"CountLinesFortran77", "Fortran 77", Column<ColumnRule::Fortran77>}, 1},
    {{".f90"}, {"CountLinesFortran9095", "Fortran Source Files", Line<kBang, DSB>}},
    {{".tex", ".sty"}, {"CountLinesLaTeX", "LaTeX Source File", Line<kPercent, D>}},
    {{".cfm", ".xml", ".xpp"}, {"CountLinesColdFusion", "Cold Fusion Source Files", Block<kMarkup>}},
    {{".htm", ".html"}, {"CountLinesHTM", "HTM/HTML Source Files", Block<kMarkup>}},
    {{".pas", ".pp"}, {"CountLinesPAS", "Pascal / Delphi Source Files", Pascal}},
    {{".asm", ".ini", ".iss", ".au3", ".nsi", ".nsh"}, {"CountLinesASM", "Assembly Source Files", Line<kSemicolon, D>}},
    {{".vb", ".vbs", ".frm", ".asp", ".bas", ".bpp"},
     {"CountLinesBasic", "Visual Basic/VB.NET/VBSScript Files", Special<SpecialLineRule::Basic>}},
    {{".c", ".cpp", ".h", ".hpp", ".java", ".js", ".jsp", ".jspf", ".cs", ".jsl", ".dylan", ".io", ".q", ".as",
      ".lsl", ".shx", ".n", ".ttcn3", ".dot", ".neato", ".gviz", ".rex", ".pike", ".pmod"},
     {"CountLinesCJAVA", "C/C++ Source and Header Files", Block<kC>}},
    // PHP has the C family's markers and string rule.
    {{".php", ".php3"}, {"CountLinesPHP", "PHP Source Files", Block<kC>}},
};

bool SameExtension(std::string_view a, std::string_view b) {
    return a.size() == b.size() && instr(a, b, 0, 1) == 1;
}

}  // namespace

const BuiltinLanguage* FindBuiltin(std::string_view extension, int dotf) {
    // ".f" is Forth while dotf is 0 and Fortran 77 while it is 1; any other value loads as 0.
    const int f = dotf == 1 ? 1 : 0;
    for (const Row& row : kTable)
        for (std::string_view e : row.extensions)
            if (SameExtension(extension, e) && (e != ".f" || row.dotfForF == f)) return &row.language;
    return nullptr;
}

bool IsBuiltinExtension(std::string_view extension, int dotf) { return FindBuiltin(extension, dotf) != nullptr; }

}  // namespace kordel::engine
