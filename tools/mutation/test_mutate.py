"""Checks of the mutation check's reading of C++ and its sampling:
python3 -m unittest discover -s tools/mutation"""

import unittest

import mutate

SOURCE = r'''#include "x.h"
#define LIMIT (1 + 2)
// a < b in a comment
/* a == b
   across lines */
int Length(const std::string& s) {
    const char* text = "a < b && c";  // 3 < 4
    auto raw = R"sql(x + 1 == y)sql";
    int n = 1'000;
    char c = 'a';
    if (s.size() > 3 && c != 'b') n += 2;
    while (n < 10) ++n;
    Update(n);
    std::vector<int> values;
    return n * 4;
}
'''


def mutants_at(line: int):
    return [m for m in mutate.mutants_of_file("x", "x.cpp", SOURCE) if m.line == line]


class CodeView(unittest.TestCase):
    def test_comments_and_literals_are_masked_column_for_column(self):
        view = mutate.code_view(SOURCE)
        lines = SOURCE.split("\n")
        self.assertEqual([len(v) for v in view], [len(l) for l in lines])
        self.assertNotIn("<", view[2])
        self.assertNotIn("==", view[3] + view[4])
        self.assertNotIn("<", view[6].split(";")[0].split("=", 1)[1])
        self.assertNotIn("==", view[7])
        self.assertIn("1'000", view[8])  # a digit separator is no character literal


class Operators(unittest.TestCase):
    def test_nothing_in_preprocessor_lines_comments_or_strings(self):
        for line in (1, 2, 3, 4, 5, 8):
            self.assertEqual(mutants_at(line), [], f"line {line}")
        self.assertEqual([m.operator for m in mutants_at(7)], [])

    def test_each_operator_on_a_line_that_has_it(self):
        changes = {(m.operator, m.old, m.new) for m in mutants_at(11)}
        self.assertIn(("comparison", " > ", " >= "), changes)
        self.assertIn(("comparison", " != ", " == "), changes)
        self.assertIn(("logical", " && ", " || "), changes)
        self.assertIn(("arithmetic", " += ", " -= "), changes)
        self.assertIn(("constant", "3", "4"), changes)
        self.assertIn(("condition", "(s.size() > 3 && c != 'b')",
                       "(!(s.size() > 3 && c != 'b'))"), changes)
        self.assertIn(("arithmetic", "++", "--"), {(m.operator, m.old, m.new) for m in mutants_at(12)})
        self.assertIn(("arithmetic", " * ", " / "), {(m.operator, m.old, m.new) for m in mutants_at(15)})

    def test_a_statement_is_dropped_but_not_a_declaration_or_a_return(self):
        self.assertIn("statement", [m.operator for m in mutants_at(13)])
        self.assertNotIn("statement", [m.operator for m in mutants_at(14)])
        self.assertNotIn("statement", [m.operator for m in mutants_at(15)])

    def test_the_mutated_line_is_the_original_with_one_change(self):
        for m in mutate.mutants_of_file("x", "x.cpp", SOURCE):
            line = SOURCE.split("\n")[m.line - 1]
            self.assertEqual(line[m.col : m.col + len(m.old)], m.old)
            self.assertEqual(m.mutated_line, (line[: m.col] + m.new + line[m.col + len(m.old) :]).strip())

    def test_template_brackets_and_streams_are_left_alone(self):
        found = mutate.mutants_of_file("x", "x.cpp", "void f() { out << std::vector<int>{1}; p->x = 0; }\n")
        self.assertFalse([m for m in found if m.operator == "comparison"])


class Sampling(unittest.TestCase):
    def layers(self):
        big = mutate.Layer("big", [], [])
        big.code_lines, big.candidates = 900, mutate.mutants_of_file("big", "b.cpp", SOURCE * 30)
        small = mutate.Layer("small", [], [])
        small.code_lines, small.candidates = 100, mutate.mutants_of_file("small", "s.cpp", SOURCE * 5)
        return [big, small]

    def test_the_count_is_kept_with_a_minimum_per_layer_and_the_rest_by_code_lines(self):
        share = mutate.allocate(self.layers(), 40)
        self.assertEqual(sum(share.values()), 40)
        self.assertGreaterEqual(share["small"], mutate.MIN_PER_LAYER)
        self.assertGreater(share["big"], 4 * share["small"])
        self.assertEqual(sum(mutate.allocate(self.layers(), 1).values()), 1)

    def test_the_same_seed_gives_the_same_sample_and_another_seed_another(self):
        key = lambda ms: [(m.file, m.line, m.col, m.new) for m in ms]
        first = key(mutate.sample(self.layers(), 30, 1))
        self.assertEqual(first, key(mutate.sample(self.layers(), 30, 1)))
        self.assertNotEqual(first, key(mutate.sample(self.layers(), 30, 2)))


class Report(unittest.TestCase):
    def test_the_score_leaves_out_what_did_not_compile(self):
        counts = {"killed": 3, "timed out": 1, "survived": 4, "not compiled": 10, "equivalent": 2}
        self.assertEqual(mutate.score(counts), 50.0)
        self.assertIsNone(mutate.score({**counts, "killed": 0, "timed out": 0, "survived": 0}))

    def test_suites_give_the_gtest_filter(self):
        import tempfile
        from pathlib import Path
        with tempfile.TemporaryDirectory() as folder:
            test = Path(folder) / "ATest.cpp"
            test.write_text("TEST(Plain, A) {}\nTEST_F(\n    Fixture, B) {}\nTEST_P(Param, C) {}\n"
                            "// TEST(Commented, D) {}\n")
            self.assertEqual(mutate.suite_patterns([test]), ["*/Param.*", "Fixture.*", "Plain.*"])


if __name__ == "__main__":
    unittest.main()
