// The dispatch table, tested in order.
#include "engine/dispatch.h"

#include <array>
#include <initializer_list>

#include "engine/block_line_counter.h"
#include "engine/scan.h"

namespace kordel::engine {
namespace {

std::unique_ptr<LineClassifier> MakeCJava(const CountOptions& o) {
    return std::make_unique<BlockLineClassifier>(BlockLineMarkers{}, o.cblib);
}

struct Row {
    std::initializer_list<std::string_view> extensions;
    BuiltinLanguage language;
};

const std::array<Row, 2> kTable{{
    {{".c", ".cpp", ".h", ".hpp", ".java", ".js", ".jsp", ".jspf", ".cs", ".jsl", ".dylan", ".io", ".q", ".as",
      ".lsl", ".shx", ".n", ".ttcn3", ".dot", ".neato", ".gviz", ".rex", ".pike", ".pmod"},
     {"CountLinesCJAVA", "C/C++ Source and Header Files", MakeCJava}},
    // PHP has the C family's markers and string rule.
    {{".php", ".php3"}, {"CountLinesPHP", "PHP Source Files", MakeCJava}},
}};

bool SameExtension(std::string_view a, std::string_view b) {
    return a.size() == b.size() && instr(a, b, 0, 1) == 1;
}

}  // namespace

const BuiltinLanguage* FindBuiltin(std::string_view extension, int dotf) {
    (void)dotf;  // ".f" belongs to Forth or Fortran 77, whose rows join the table with their counters
    for (const Row& row : kTable)
        for (std::string_view e : row.extensions)
            if (SameExtension(extension, e)) return &row.language;
    return nullptr;
}

bool IsBuiltinExtension(std::string_view extension, int dotf) { return FindBuiltin(extension, dotf) != nullptr; }

}  // namespace kordel::engine
