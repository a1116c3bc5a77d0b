#!/usr/bin/env python3
"""scripts/function-length.py on small sources: what it measures, and what must not fool its braces."""
import importlib.util
import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("function_length", os.path.join(HERE, "../../scripts/function-length.py"))
checker = importlib.util.module_from_spec(spec)
spec.loader.exec_module(checker)


def body(lines, text="    x += 1;"):
    return "\n".join([text] * lines)


class FunctionLengthTest(unittest.TestCase):
    def found(self, source, name="a.cpp", limit=80):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, name)
            with open(path, "w") as f:
                f.write(source)
            return [(first, length, kind) for _, first, length, kind, _ in checker.long_blocks(path, limit)]

    def test_functions_are_measured_from_their_head_to_their_closing_brace(self):
        # 78 body lines + head + closing brace = 80: allowed; one more line is not.
        self.assertEqual(self.found("int F(int x)\n{\n" + body(77) + "\n}\n"), [])
        self.assertEqual(self.found("// F\nint F(int x,\n      int y) {\n" + body(78) + "\n}\n"), [(2, 81, "function")])
        self.assertEqual(self.found("struct S {\n    S() : m_a(1), m_b{2} {\n" + body(79) + "\n    }\n};\n", "s.h"),
                         [(2, 81, "function")])
        self.assertEqual(self.found("void C::F() const noexcept {\n" + body(20) + "\n}\n", limit=10),
                         [(1, 22, "function")])

    def test_lambdas_and_classes_of_a_cpp_are_measured_but_not_a_headers_class(self):
        lam = "void F() {\n    auto f = [&](int v) -> int {\n" + body(80) + "\n    };\n}\n"
        self.assertIn((2, 82, "lambda"), self.found(lam))
        cls = "class C {\n" + "\n".join("    void M%d() { x = %d; }" % (i, i) for i in range(85)) + "\n};\n"
        self.assertEqual(self.found(cls), [(1, 87, "class")])
        self.assertEqual(self.found(cls, "c.h"), [])
        self.assertEqual(self.found("class D {\n" + body(90, "    int m;") + "\n};\n"), [])  # no code in it

    def test_braces_in_strings_comments_and_macros_do_not_count(self):
        tricky = ('void F() {\n    const char* s = "{{{";  // }}}\n    char c = \'{\';\n    /* { */\n'
                  '    auto r = R"x({ ")} )x";\n    int n = 1\'000;\n#define OPEN {\n}\n')
        self.assertEqual(self.found(tricky + "void G() {\n" + body(85) + "\n}\n"), [(9, 87, "function")])

    def test_blocks_and_braced_lists_inside_a_function_are_not_functions(self):
        source = ("void F() {\n    if (a) {\n" + body(85) + "\n    }\n    for (int v : {1, 2}) {\n" + body(85) +
                  "\n    }\n    Call(Check({\n" + body(85, "        1,") + "\n    }));\n}\n")
        self.assertEqual(self.found(source), [(1, 263, "function")])
        table = "const int kTable[] = {\n" + body(100, "    1,") + "\n};\nnamespace n {\n" + body(100, "int v;") + "\n}\n"
        self.assertEqual(self.found(table), [])


if __name__ == "__main__":
    sys.exit(unittest.main())
