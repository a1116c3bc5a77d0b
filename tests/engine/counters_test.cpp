// Each built-in counter's own rules, reached through the dispatch table.
#include <gtest/gtest.h>

#include "engine/dispatch.h"
#include "tests/support/count_memory.h"

using namespace kordel::engine;

namespace {

struct Case {
    const char* extension;
    const char* text;
    std::int64_t code, comment, mixed, blank;
};

FileCounts CountAs(std::string_view extension, std::string_view text, int dotf = 0) {
    const BuiltinLanguage* language = FindBuiltin(extension, dotf);
    EXPECT_NE(language, nullptr) << extension;
    if (!language) return {};
    auto classifier = language->make(CountOptions{});
    return test_support::CountMemory(*classifier, text);
}

class CounterRules : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(CounterRules, ClassifiesLikeTheLanguage) {
    const Case& c = GetParam();
    const FileCounts counts = CountAs(c.extension, c.text);
    EXPECT_EQ(counts.ii, c.code) << c.text;
    EXPECT_EQ(counts.inoc, c.comment) << c.text;
    EXPECT_EQ(counts.inoml, c.mixed) << c.text;
    EXPECT_EQ(counts.inos, c.blank) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Languages, CounterRules,
    ::testing::Values(
        Case{".pl", "print \"a # b\";\n   # note\n$x = 1; # note\n", 1, 1, 1, 0},
        Case{".bat", "rem note\nREM note\nset premium=1\necho 'rem'\n", 2, 1, 1, 0},
        Case{".ada", "X := 'a'; -- note\n-- note\n", 0, 1, 1, 0},
        Case{".f", "\\ note\n: sq dup * ; \\ square\n", 0, 1, 1, 0},
        Case{".f77", "C     NOTE\n*     NOTE\nc     note\n      X = A*B\n  \n", 2, 2, 0, 1},
        Case{".cob", "000100* NOTE\n      * NOTE\n*      NOTE\n000100 MOVE A TO B.\n", 2, 2, 0, 0},
        Case{".sed", "#n\n# note\n # note\ns/a/b/ # note\n", 3, 1, 0, 0},
        Case{".sed", "x\n# note \\\ncontinued\ny\n", 2, 2, 0, 0},
        Case{".txt", "a\nb\nc\n\n   \n", 3, 0, 0, 2},
        Case{".pro", "foo(X) :- bar(X). % note\n/* note */\nX = \"50% done\".\n", 1, 1, 1, 0},
        Case{".sql", "SELECT '--' FROM t;\nSELECT a -- note\n/* note\nmore\n*/ SELECT 1\n", 1, 2, 2, 0},
        Case{".ml", "let x = 1 (* note *)\n(* note\nstill\n*)\n(* note *) let x = 1\n", 0, 4, 1, 0},
        Case{".html", "<p>text</p> <!-- note -->\n<!-- note -->\n-->\n", 1, 1, 1, 0},
        Case{".bas", "REM note\nRemark\n  REM note\nx = 1 ' note\n' note\ns = \"it's\"\n", 2, 3, 1, 0},
        Case{".tcl", "# note\n  # note\nset a 1 ;# note\n;# note\n", 2, 1, 1, 0},
        Case{".abp", "* note\n  * note\nWRITE x. \" note\n\" note\n", 1, 2, 1, 0},
        Case{".py", "x = 1  # note\n\"\"\"Begin\nbody\nend\"\"\"\ns = \"\"\"one line\"\"\"\ny = \"#\"\n", 1, 3, 2, 0},
        Case{".lisp", ";; note\n(setq x 1) ; note\n; see ;;;; below\n(list 'a 'b) ; note\n'x ; note\n\"a;b\"\n", 2, 1, 3, 0},
        Case{".scm", "#| note\nmore\n|#\n#| note |#\n#| a ; b\n|#\n(foo) #| note |# (bar)\n", 0, 6, 1, 0},
        Case{".pas", "end;\nbegin\n);\n123\nx := 1; // note\n// note\n123; // note\n", 2, 2, 1, 2},
        Case{".pas", "{ note }\n(* note *)\nx := 1; { note }\n{ note\nmore\n} x := 1;\n(* a { b *)\n", 0, 5, 2, 0},
        Case{".pp", "(* a\n*) ;\nwriteln('{'); // note\n", 0, 2, 1, 0},
        Case{".Cpp", "int x; // note\n", 0, 0, 1, 0}));

TEST(Dispatch, ExtensionsPickTheirCounters) {
    EXPECT_EQ(FindBuiltin(".C", 0)->counter, "CountLinesCJAVA");
    EXPECT_EQ(FindBuiltin(".f", 0)->counter, "CountLinesForth");
    EXPECT_EQ(FindBuiltin(".f", 1)->counter, "CountLinesFortran77");
    EXPECT_EQ(FindBuiltin(".F", 2)->counter, "CountLinesForth");
    EXPECT_EQ(FindBuiltin(".f77", 0)->counter, "CountLinesFortran77");
    EXPECT_EQ(FindBuiltin(".xpp", 0)->counter, "CountLinesColdFusion");
    EXPECT_EQ(FindBuiltin(".shx", 0)->counter, "CountLinesCJAVA");
    EXPECT_EQ(FindBuiltin(".r", 0)->counter, "CountLinesPerl");
    EXPECT_EQ(FindBuiltin(".gz", 0), nullptr);
    EXPECT_EQ(FindBuiltin(".cppp", 0), nullptr);
}
