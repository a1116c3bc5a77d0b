// The table of further languages: its rows claim each extension and file name once and leave the
// built-in table's alone; files are found by extension, name and #! line; the lookup order holds.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "common/ascii.h"
#include "engine/count_run.h"
#include "engine/dispatch.h"
#include "engine/known_languages.h"
#include "engine/language_resolver.h"
#include "engine/line_categories.h"
#include "engine/path_split.h"
#include "tests/support/files.h"

using namespace kordel::engine;

namespace {

std::string NameOf(const LanguageRow* row) { return row ? std::string(row->name) : "(none)"; }

// A user language database that claims one extension.
class OneUserLanguage final : public UserLanguageLookup {
public:
    explicit OneUserLanguage(std::string extension) : m_extension(std::move(extension)) {}
    std::optional<UserLanguageMatch> Find(std::string_view extension, const CountOptions& options) const override {
        if (!kordel::EqualIgnoringCase(extension, m_extension)) return std::nullopt;
        return UserLanguageMatch{"Mine", FindBuiltin(".c", 0)->make(options)};
    }

private:
    std::string m_extension;
};

std::string Resolved(std::string_view path, const UserLanguageLookup* user = nullptr, bool known = true) {
    CountOptions options;
    options.knownLanguages = known;
    const LanguageResolver resolver(options, user);
    const std::optional<ChosenLanguage> chosen = resolver.ByName(path, PathExtension(path));
    if (!chosen) return "(none)";
    switch (chosen->source) {
        case LanguageSource::Builtin: return "builtin";
        case LanguageSource::User: return "user " + chosen->name;
        case LanguageSource::Known: return "known " + chosen->name;
    }
    return "?";
}

}  // namespace

TEST(KnownLanguages, EachExtensionAndFileNameHasOneRowAndBuiltinExtensionsStayBuiltin) {
    std::map<std::string, std::string> extensions, fileNames;
    std::set<std::string> names;
    for (const LanguageRow& row : KnownLanguages()) {
        const std::string name(row.name);
        EXPECT_TRUE(names.insert(name).second) << "two rows named " << name;
        EXPECT_EQ(name.find_first_of("/\\:*?\"<>|"), std::string::npos) << name << " cannot name a fixture folder";
        EXPECT_FALSE(row.extensions.empty() && row.fileNames.empty() && row.interpreters.empty())
            << name << " recognises no file";
        ForEachWord(row.extensions, [&](std::string_view e) {
            const std::string lower = kordel::AsciiLowered(e);
            EXPECT_EQ(lower, e) << name << ": extensions are written in lower case";
            EXPECT_TRUE(e.starts_with('.')) << name << ": " << e;
            const auto [it, fresh] = extensions.emplace(lower, name);
            EXPECT_TRUE(fresh) << e << " is claimed by " << it->second << " and " << name;
            EXPECT_FALSE(IsBuiltinExtension(e, 0) || IsBuiltinExtension(e, 1))
                << name << " claims " << e << " of the built-in table";
        });
        ForEachWord(row.fileNames, [&](std::string_view f) {
            const auto [it, fresh] = fileNames.emplace(f, name);
            EXPECT_TRUE(fresh) << f << " is claimed by " << it->second << " and " << name;
        });
        if (!row.builtin.empty()) {
            EXPECT_NE(BuiltinOfRow(row, 0), nullptr) << name << ": no built-in " << row.builtin;
        }
    }
}

TEST(KnownLanguages, FilesAreFoundByExtensionNameAndInterpreter) {
    EXPECT_EQ(NameOf(FindKnownByName("lib.RS")), "Rust");
    EXPECT_EQ(NameOf(FindKnownByName("types.d.ts")), "TypeScript");
    EXPECT_EQ(KnownExtensionOf("types.d.ts"), ".d.ts");
    EXPECT_EQ(KnownExtensionOf("a.b.unknownext"), "");
    EXPECT_EQ(NameOf(FindKnownByName("Makefile")), "Make");
    EXPECT_EQ(NameOf(FindKnownByName("Makefile.build")), "(none)");
    EXPECT_EQ(NameOf(FindKnownByName("Dockerfile")), "Dockerfile");
    EXPECT_EQ(NameOf(FindKnownByName("CMakeLists.txt")), "CMake");
    EXPECT_EQ(NameOf(FindKnownByName(".bashrc")), "Shell");

    EXPECT_EQ(InterpreterOf("#!/usr/bin/env python3\nx"), "python3");
    EXPECT_EQ(InterpreterOf("#!/usr/bin/env -S python3 -u\n"), "python3");
    EXPECT_EQ(InterpreterOf("#! /bin/sh -e\n"), "sh");
    EXPECT_EQ(InterpreterOf("#!/usr/bin/env FOO=1 -i perl\r\n"), "perl");
    EXPECT_EQ(InterpreterOf("# !/bin/sh\n"), "");
    EXPECT_EQ(InterpreterOf("#!/usr/bin/env\n"), "");
    EXPECT_EQ(NameOf(FindKnownByInterpreter("#!/usr/bin/env python3\n")), "Python");
    EXPECT_EQ(NameOf(FindKnownByInterpreter("#!/usr/bin/env -S python3 -u\n")), "Python");
    EXPECT_EQ(NameOf(FindKnownByInterpreter("#!/usr/local/bin/python3.11\n")), "Python");
    EXPECT_EQ(NameOf(FindKnownByInterpreter("#!/bin/sh -e\n")), "Shell");
    EXPECT_EQ(NameOf(FindKnownByInterpreter("#!/usr/bin/perl -w\n")), "Perl");
    EXPECT_EQ(NameOf(FindKnownByInterpreter("#!/usr/bin/perl5.36\n")), "Perl");
    EXPECT_EQ(NameOf(FindKnownByInterpreter("#!/usr/bin/nosuchprogram\n")), "(none)");
    EXPECT_EQ(NameOf(FindKnownByInterpreter("#!")), "(none)");

    EXPECT_TRUE(HasNoExtension("configure"));
    EXPECT_TRUE(HasNoExtension(".profile"));
    EXPECT_FALSE(HasNoExtension("a.sh"));
}

TEST(KnownLanguages, LookupOrderIsBuiltinUserThenTable) {
    // The built-in table keeps its extensions, whatever a user language or the table says.
    const OneUserLanguage userC(".c");
    EXPECT_EQ(Resolved("a.c", &userC), "builtin");
    EXPECT_EQ(Resolved("a.pp"), "builtin");
    EXPECT_EQ(Resolved("a.m"), "builtin");
    // A user language comes before the table.
    const OneUserLanguage userRs(".rs");
    EXPECT_EQ(Resolved("lib.rs", &userRs), "user Mine");
    EXPECT_EQ(Resolved("lib.rs"), "known Rust");
    // Without the table: the built-in table and the user languages only.
    EXPECT_EQ(Resolved("lib.rs", nullptr, false), "(none)");
    EXPECT_EQ(Resolved("Makefile", nullptr, false), "(none)");
    EXPECT_EQ(Resolved("CMakeLists.txt", nullptr, false), "builtin");
    // A file name of the table and a multi-part extension are more than the built-in extension.
    EXPECT_EQ(Resolved("CMakeLists.txt"), "known CMake");
    EXPECT_EQ(Resolved("view.blade.php"), "known Blade");
    EXPECT_EQ(Resolved("view.php"), "builtin");
    // A row counted by a built-in counter is named as the row.
    EXPECT_EQ(Resolved("x.cc"), "known C++");
}

TEST(KnownLanguages, RowsOfABuiltinCounterCountAsThatCounter) {
    CountOptions options;
    options.knownLanguages = true;
    const LanguageResolver resolver(options, nullptr);
    const std::string text = "int a; // b\n/* c */\n\n";
    std::optional<ChosenLanguage> cc = resolver.ByName("x.cc", ".cc");
    ASSERT_TRUE(cc);
    const FileCounts viaRow = CountBuffer(text, *cc->classifier, false);
    const FileCounts viaBuiltin = CountBuffer(text, *FindBuiltin(".cpp", 0)->make(options), false);
    EXPECT_EQ(viaRow.ii, viaBuiltin.ii);
    EXPECT_EQ(viaRow.inoc, viaBuiltin.inoc);
    EXPECT_EQ(viaRow.inoml, viaBuiltin.inoml);
    EXPECT_EQ(viaRow.inos, viaBuiltin.inos);
    // By #! line, only while the table is on.
    EXPECT_TRUE(resolver.ForContent("tool", "tool", "#!/usr/bin/env bash\necho\n"));
    options.knownLanguages = false;
    EXPECT_FALSE(LanguageResolver(options, nullptr).ForContent("tool", "tool", "#!/usr/bin/env bash\necho\n"));
}

namespace {

// Files of a run where rows without an extension may be left out when their #! line names nothing.
class WalkedFiles final : public RunFiles {
public:
    explicit WalkedFiles(std::vector<std::string> paths) : m_paths(std::move(paths)) {}
    std::size_t size() const override { return m_paths.size(); }
    std::string Path(std::size_t row) const override { return m_paths[row]; }
    std::string Extension(std::size_t row) const override { return std::string(PathExtension(m_paths[row])); }
    bool MayLeaveOut(std::size_t row) const override { return row != 3; }  // row 3 was named, not walked

private:
    std::vector<std::string> m_paths;
};

class LeftOutObserver final : public RunObserver {
public:
    std::vector<std::size_t> leftOut, asked;
    std::map<std::size_t, std::string> languages;
    std::size_t current = 0;
    void StartRow(std::size_t row) override { current = row; }
    void SetStatus(const std::string&) override {}
    void WriteRow(std::size_t, const std::vector<std::string>&) override {}
    void WriteTotals(const TotalsTexts&) override {}
    void SetProgress(int) override {}
    bool AskMissing(const std::string&) override { return false; }
    bool AskOpenFailed(const std::string&) override { return false; }
    bool AskUnknownExtension(const std::string&) override {
        asked.push_back(current);
        return true;
    }
    void Finished(const std::string&, bool) override {}
    void RowCounted(std::size_t row, const FileCounts&, const std::string& language) override {
        languages[row] = language;
    }
    void RowLeftOut(std::size_t row) override { leftOut.push_back(row); }
};

}  // namespace

TEST(KnownLanguages, ARunReadsTheInterpreterLineFromTheFileItCounts) {
    const test_support::TempDir dir("known-run");
    const WalkedFiles files({dir.Write("tool", "#!/usr/bin/env python3\n# c\nx = 1\n").string(),
                             dir.Write("README", "plain text\n").string(), dir.Write("lib.rs", "// a\n").string(),
                             dir.Write("NOTES", "named on the command line\n").string(),
                             dir.Write("main.c", "int x;\n").string()});
    for (const unsigned jobs : {1u, 3u}) {
        CountOptions options;
        options.knownLanguages = true;
        std::atomic<int> canc{0};
        LeftOutObserver observer;
        const RunResult result = CountLineT(files, options, canc, observer, jobs, nullptr, true);
        EXPECT_EQ(observer.languages[0], "Python") << jobs;
        EXPECT_EQ(result.counts[0].inoc, 2) << "the #! line and the comment";
        EXPECT_EQ(observer.leftOut, std::vector<std::size_t>{1}) << jobs;
        EXPECT_EQ(observer.languages[2], "Rust");
        EXPECT_EQ(observer.asked, std::vector<std::size_t>{3}) << jobs;
        EXPECT_EQ(observer.languages[4], "") << "built-in languages are named by their extension";
        EXPECT_EQ(result.totals.ntl, 5);

        // The desktop's counts: no table, so only the C file is counted; the others are asked about.
        options.knownLanguages = false;
        LeftOutObserver builtinOnly;
        CountLineT(files, options, canc, builtinOnly, jobs, nullptr, true);
        EXPECT_EQ(builtinOnly.asked, (std::vector<std::size_t>{0, 1, 2, 3})) << jobs;
        EXPECT_TRUE(builtinOnly.leftOut.empty());
    }
}
