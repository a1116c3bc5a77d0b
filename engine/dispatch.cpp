// The dispatch table, tested in order.
#include "engine/dispatch.h"

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

// The counters, each under its own name; several languages share one.
constexpr BuiltinLanguage CountLinesBatch{"CountLinesBatch", "Batch Script Files", Line<kRem, DSB>};
constexpr BuiltinLanguage CountLinesProLog{"CountLinesProLog", "ProLog Source Files", Block<kProlog>};
constexpr BuiltinLanguage CountLinesMaxScript{"CountLinesMaxScript", "MaxScript Source Files", Block<kMaxScript>};
constexpr BuiltinLanguage CountLinesCaml{"CountLinesCaml", "CAML Source Files", Block<kCaml>};
constexpr BuiltinLanguage CountLinesTXT{"CountLinesTXT", "Text Files", Column<ColumnRule::None>};
constexpr BuiltinLanguage CountLinesOBJC{"CountLinesOBJC", "Objective-C Source Files", Line<kPercent, D>};
constexpr BuiltinLanguage CountLinesRuby{"CountLinesRuby", "Ruby Source Files", Line<kHash, D>};
constexpr BuiltinLanguage CountLinesTCL{"CountLinesTCL", "TCL Source Files", Special<SpecialLineRule::Tcl>};
constexpr BuiltinLanguage CountLinesAWK{"CountLinesAWK", "AWK Source Files", Line<kHash, DSB>};
constexpr BuiltinLanguage CountLinesABAP{"CountLinesABAP", "ABAP Source Files", Special<SpecialLineRule::Abap>};
constexpr BuiltinLanguage CountLinesPerl{"CountLinesPerl", "Perl Source Files", Line<kHash, D>};
constexpr BuiltinLanguage CountLinesLISP{"CountLinesLISP", "LISP/Scheme Source", Block<kLisp>};
constexpr BuiltinLanguage CountLinesPython{"CountLinesPython", "Python Source Files", Block<kPython>};
constexpr BuiltinLanguage CountLinesSED{"CountLinesSED", "SED Scripts", Column<ColumnRule::Sed>};
constexpr BuiltinLanguage CountLinesCobol{"CountLinesCobol", "Cobol Source Files", Column<ColumnRule::Cobol>};
constexpr BuiltinLanguage CountLinesAda{"CountLinesAda", "ADA Source Files", Line<kDashes, DS>};
constexpr BuiltinLanguage CountLinesSQL{"CountLinesSQL", "SQL Source Files", Block<kSql>};
constexpr BuiltinLanguage CountLinesForth{"CountLinesForth", "Forth", Line<kBackslash, D>};
constexpr BuiltinLanguage CountLinesFortran77{"CountLinesFortran77", "Fortran 77", Column<ColumnRule::Fortran77>};
constexpr BuiltinLanguage CountLinesFortran9095{"CountLinesFortran9095", "Fortran Source Files",
                                                Line<kBang, DSB>};
constexpr BuiltinLanguage CountLinesLaTeX{"CountLinesLaTeX", "LaTeX Source File", Line<kPercent, D>};
constexpr BuiltinLanguage CountLinesColdFusion{"CountLinesColdFusion", "Cold Fusion Source Files",
                                               Block<kMarkup>};
constexpr BuiltinLanguage CountLinesHTM{"CountLinesHTM", "HTM/HTML Source Files", Block<kMarkup>};
constexpr BuiltinLanguage CountLinesPAS{"CountLinesPAS", "Pascal / Delphi Source Files", Pascal};
constexpr BuiltinLanguage CountLinesASM{"CountLinesASM", "Assembly Source Files", Line<kSemicolon, D>};
constexpr BuiltinLanguage CountLinesBasic{"CountLinesBasic", "Visual Basic/VB.NET/VBSScript Files",
                                          Special<SpecialLineRule::Basic>};
constexpr BuiltinLanguage CountLinesCJAVA{"CountLinesCJAVA", "C/C++ Source and Header Files", Block<kC>};
// PHP has the C family's markers and string rule.
constexpr BuiltinLanguage CountLinesPHP{"CountLinesPHP", "PHP Source Files", Block<kC>};

// In the order the extensions are tested.
constexpr BuiltinExtension kExtensions[] = {
#define KORDEL_EXTENSION(extension, name, counter) {extension, name, &counter},
#include "engine/builtin_languages.inc"
#undef KORDEL_EXTENSION
};

bool SameExtension(std::string_view a, std::string_view b) {
    return a.size() == b.size() && instr(a, b, 0, true) == 1;
}

}  // namespace

const BuiltinLanguage* FindBuiltin(std::string_view extension, int dotf) {
    // ".f" is Forth while dotf is 0 and Fortran 77 while it is 1; any other value loads as 0.
    const BuiltinLanguage* dotF = dotf == 1 ? &CountLinesFortran77 : &CountLinesForth;
    for (const BuiltinExtension& e : kExtensions)
        if (SameExtension(extension, e.extension) && (e.extension != ".f" || e.language == dotF)) return e.language;
    return nullptr;
}

std::span<const BuiltinExtension> BuiltinExtensions() { return kExtensions; }

bool IsBuiltinExtension(std::string_view extension, int dotf) { return FindBuiltin(extension, dotf) != nullptr; }

}  // namespace kordel::engine
