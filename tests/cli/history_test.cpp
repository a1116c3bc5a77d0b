// kordelc --history: every point's totals against a count of the same revision, sampling, ranges,
// renames and deletions, the blob memo, the cache file and the chart.
#include <fstream>
#include <random>

#include "outputs/history_output.h"
#include "engine/path_split.h"
#include "history/history_cache.h"
#include "history/history_memo.h"
#include "history/history_points.h"
#include "history/history_run.h"
#include "vcs/history_walker.h"
#include "cli_support.h"
#include "git_support.h"

namespace kordel::cli::test {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kStart = 1700000000;  // 2023-11-14T22:13:20Z

// Per language: files, code, comment, mixed, blank, lines.
using LanguageCounts = std::map<std::string, std::vector<std::int64_t>>;

LanguageCounts CountsOf(const nlohmann::json& languages, const char* nameKey) {
    LanguageCounts counts;
    for (const auto& l : languages)
        counts[l[nameKey].get<std::string>()] = {l["files"], l["code"], l["comment"], l["mixed"], l["blank"], l["lines"]};
    return counts;
}

class HistoryTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        m_repository = std::make_unique<TestRepository>(Path("repo"));
    }
    void TearDown() override { m_repository.reset(); }

    void Commit(std::int64_t time = kStart) { m_repository->Commit("change", time); }

    // A history's points from its JSON, run in the repository.
    nlohmann::json Points(std::vector<std::string> args, int expectedCode = 0) const {
        args.insert(args.end(), {"-f", "json"});
        const InFolder inRepo(Path("repo"));
        const CliRun run = Run(args);
        EXPECT_EQ(run.code, expectedCode) << run.err;
        return run.code == 2 ? nlohmann::json::object() : nlohmann::json::parse(run.out)["points"];
    }

    LanguageCounts RevisionCounts(const std::string& commit, std::vector<std::string> args) const {
        args.insert(args.end(), {"-f", "json", "git:" + commit});
        const InFolder inRepo(Path("repo"));
        const CliRun run = Run(args);
        EXPECT_EQ(run.code, 0) << run.err;
        return CountsOf(nlohmann::json::parse(run.out)["languages"], "language");
    }

    std::unique_ptr<TestRepository> m_repository;
};

// A file of `ext` with lines of each kind, different for each `seed`.
std::string SourceText(const std::string& ext, unsigned seed) {
    std::mt19937 rng(seed);
    const bool hash = ext == ".py" || ext == ".rb";
    std::string text;
    for (unsigned i = 0, n = 3 + rng() % 25; i < n; ++i) {
        switch (rng() % 6) {
            case 0: text += "\n"; break;
            case 1: text += hash ? "# note\n" : "// note\n"; break;
            case 2: text += hash ? "x = 1  # why\n" : "x = 1; // why\n"; break;
            case 3: text += hash ? "\"\"\"doc\nmore\"\"\"\n" : "/* block\n\n   end */\n"; break;
            default: text += "value_" + std::to_string(rng() % 1000) + " = " + std::to_string(i) + ";\n";
        }
    }
    return text;
}

// A file without an extension: a "#!" line naming a language, one naming none, or no such line.
std::string ScriptText(unsigned seed) {
    std::mt19937 rng(seed);
    static const char* const kLines[] = {"#!/usr/bin/perl\n", "#!/usr/bin/env python3\n", "#!/bin/sh\n",
                                         "#!/usr/bin/env no-such-program\n", "plain text\n"};
    std::string text = kLines[rng() % 5];
    for (unsigned i = 0, n = 1 + rng() % 8; i < n; ++i)
        text += rng() % 3 ? "print " + std::to_string(rng() % 100) + "\n" : (rng() % 2 ? "# note\n" : "\n");
    return text;
}

// A new text for `path`: a script when its name has no extension.
std::string TextFor(const std::string& path, unsigned seed) {
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.find('.') == std::string::npos ? ScriptText(seed) : SourceText(name.substr(name.rfind('.')), seed);
}

// For 50 points of a history with edits, additions, deletions, renames (some to another language),
// files known only by their "#!" line (whose language changes with that line), an excluded folder, a
// --map, an --exclude and a changing .ignore file, each point's languages equal those of kordelc
// git:COMMIT with the same options. A rerun with a cache written before the last commits gives the
// totals of a fresh run.
TEST_F(HistoryTest, EveryPointEqualsTheCountOfItsRevision) {
    const std::vector<std::string> exts = {".c", ".h", ".py", ".java", ".txt", ".pas", ".inc", ".rb"};
    std::mt19937 rng(35);
    std::vector<std::string> files;
    std::int64_t time = kStart;
    for (unsigned commit = 0; commit < 100; ++commit) {
        const unsigned action = commit < 3 ? 0 : rng() % 10;
        const auto pick = [&] { return files[rng() % files.size()]; };
        if (action <= 2 || files.size() < 4) {
            const std::string folder = std::vector<std::string>{"src", "src/deep", "lib", "vendor", "docs"}[rng() % 5];
            const std::string path = folder + "/f" + std::to_string(commit) + exts[rng() % exts.size()];
            Write("repo/" + path, TextFor(path, rng()));
            files.push_back(path);
        } else if (action == 3) {
            const std::string path = pick();
            fs::remove(Path("repo/" + path));
            files.erase(std::find(files.begin(), files.end(), path));
        } else if (action == 4) {
            const std::string from = pick();
            const std::string to = from.substr(0, from.rfind('.')) + "r" + exts[rng() % exts.size()];
            fs::rename(Path("repo/" + from), Path("repo/" + to));
            *std::find(files.begin(), files.end(), from) = to;
        } else if (action == 5) {
            Write("repo/src/.ignore", commit % 2 ? "deep/\n" : "*.h\n!f1*.h\n");
        } else if (action == 6) {
            const std::string path = "bin/tool" + std::to_string(rng() % 8);
            Write("repo/" + path, ScriptText(rng()));
            if (std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
        } else {
            const std::string path = pick();
            Write("repo/" + path, TextFor(path, rng()));
        }
        time += (rng() % 3) * kDay / 2;
        Commit(time);
    }
    const std::vector<std::string> options = {"--exclude-dir", "vendor", "--map", ".inc=.c", "--exclude", "*7.py",
                                              "--mixed-as-both"};
    std::vector<std::string> args = options;
    args.push_back("--history");
    const nlohmann::json points = Points(args);
    ASSERT_EQ(points.size(), 100u);
    for (std::size_t p = 0; p < points.size(); p += 2) {
        const nlohmann::json& point = points[p];
        EXPECT_EQ(CountsOf(point["languages"], "language"), RevisionCounts(point["commit"], options))
            << "point " << p << " " << point["commit"];
    }
    EXPECT_GE(CountsOf(points.back()["languages"], "language").size(), 6u);
    std::set<std::string> byLineOnly;  // languages of no extension used above
    for (const auto& point : points)
        for (const auto& [language, counts] : CountsOf(point["languages"], "language"))
            if (language == "Perl" || language == "Shell") byLineOnly.insert(language);
    EXPECT_EQ(byLineOnly, (std::set<std::string>{"Perl", "Shell"}));

    std::vector<std::string> cached = args;
    cached.insert(cached.end(), {"--cache", Path("history.cache").string()});
    std::vector<std::string> older = cached;
    older.insert(older.begin() + static_cast<std::ptrdiff_t>(options.size()) + 1, "HEAD~30");
    EXPECT_EQ(Points(older).size(), 70u);
    EXPECT_EQ(Points(cached), points);
    EXPECT_EQ(Points(cached), points);
}

TEST_F(HistoryTest, SamplesByCountDayWeekMonthAndTag) {
    // Ten commits: two on 2023-11-14, three on the 15th, then one a week for five weeks.
    const std::int64_t times[] = {kStart, kStart + 3600, kStart + kDay, kStart + kDay + 60, kStart + kDay + 120,
                                  kStart + 8 * kDay, kStart + 15 * kDay, kStart + 22 * kDay, kStart + 29 * kDay,
                                  kStart + 36 * kDay};
    for (int i = 0; i < 10; ++i) {
        WriteC("repo/a.c", i + 1);
        Commit(times[i]);
        if (i == 2) m_repository->Tag("v1", false);
        if (i == 6) m_repository->Tag("v2", true);
    }
    const auto codes = [](const nlohmann::json& points) {
        std::vector<std::int64_t> code;
        for (const auto& p : points) code.push_back(p["total"]["code"]);
        return code;
    };
    EXPECT_EQ(codes(Points({"--history"})), (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(codes(Points({"--history", "--every", "4"})), (std::vector<std::int64_t>{1, 5, 9, 10}));
    EXPECT_EQ(codes(Points({"--history", "--every", "day"})), (std::vector<std::int64_t>{2, 5, 6, 7, 8, 9, 10}));
    // Weeks start on Monday: 2023-11-14 was a Tuesday, the 22nd a Wednesday.
    EXPECT_EQ(codes(Points({"--history", "--every", "week"})), (std::vector<std::int64_t>{5, 6, 7, 8, 9, 10}));
    // November ends after the seventh commit (the 29th); December holds the rest.
    EXPECT_EQ(codes(Points({"--history", "--every", "month"})), (std::vector<std::int64_t>{7, 10}));
    const nlohmann::json tagged = Points({"--history", "--every", "tag"});
    EXPECT_EQ(codes(tagged), (std::vector<std::int64_t>{3, 7}));
    EXPECT_EQ(tagged[1]["tags"], nlohmann::json::array({"v2"}));
    // A date alone takes its whole day on either side.
    EXPECT_EQ(codes(Points({"--history", "--since", "2023-11-15", "--until", "2023-11-22"})),
              (std::vector<std::int64_t>{3, 4, 5, 6}));
    EXPECT_EQ(codes(Points({"--history", "--since", "2023-11-15T00:00:40Z", "--every", "day"})),
              (std::vector<std::int64_t>{5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Points({"--history", "--since", "2030-01-01"}).size(), 0u);
    for (const char* bad : {"0", "fortnight", "-3"}) Points({"--history", "--every", bad}, 2);
    Points({"--history", "--since", "2023-02-30"}, 2);
}

TEST_F(HistoryTest, RangesAndRevisions) {
    for (int i = 0; i < 6; ++i) {
        WriteC("repo/a.c", i + 1);
        Commit(kStart + i);
    }
    const auto first = [](const nlohmann::json& points) { return points.front()["total"]["code"].get<int>(); };
    EXPECT_EQ(Points({"--history", "HEAD~2"}).size(), 4u);
    const nlohmann::json range = Points({"--history", "HEAD~4..HEAD~1"});
    ASSERT_EQ(range.size(), 3u);
    EXPECT_EQ(first(range), 3);
    EXPECT_EQ(range.back()["total"]["code"], 5);
    EXPECT_EQ(Points({"--history", "HEAD..HEAD"}).size(), 0u);
    Points({"--history", "no-such-branch"}, 2);
    Points({"--history", "HEAD~3...HEAD"}, 2);
    // A history counts the repository, not paths; per-file options do not apply.
    const InFolder inRepo(Path("repo"));
    EXPECT_EQ(Run({"--history", "HEAD", "a.c"}).code, 2);
    EXPECT_EQ(Run({"--history", "--by-file"}).code, 2);
    EXPECT_EQ(Run({"--history", "--max-file-size", "1K"}).code, 2);
    EXPECT_EQ(Run({"-f", "svg", "a.c"}).code, 2);
    EXPECT_EQ(Run({"--every", "3", "a.c"}).code, 2);
}

// Renames keep a file's counts (its blob stays); a rename to another extension moves them to the
// other language; a deleted file's language leaves the point when it was the last of it.
TEST_F(HistoryTest, RenamesDeletionsAndLanguageChanges) {
    Write("repo/src/one.c", "int a;\n// c\n\nint b; // m\n");
    Write("repo/src/two.c", "int z;\n");
    Write("repo/notes.txt", "plain\n");
    Commit();
    fs::rename(Path("repo/src"), Path("repo/lib"));  // a folder renamed
    Commit();
    fs::rename(Path("repo/lib/one.c"), Path("repo/lib/one.py"));  // and counted as Python now
    Commit();
    fs::remove(Path("repo/notes.txt"));
    Commit();
    const nlohmann::json points = Points({"--history"});
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(CountsOf(points[0]["languages"], "language"),
              (LanguageCounts{{"C", {2, 2, 1, 1, 1, 5}}, {"Text", {1, 1, 0, 0, 0, 1}}}));
    EXPECT_EQ(CountsOf(points[1]["languages"], "language"), CountsOf(points[0]["languages"], "language"));
    EXPECT_EQ(CountsOf(points[2]["languages"], "language"),
              (LanguageCounts{{"C", {1, 1, 0, 0, 0, 1}}, {"Python", {1, 3, 0, 0, 1, 4}}, {"Text", {1, 1, 0, 0, 0, 1}}}));
    EXPECT_EQ(CountsOf(points[3]["languages"], "language"),
              (LanguageCounts{{"C", {1, 1, 0, 0, 0, 1}}, {"Python", {1, 3, 0, 0, 1, 4}}}));
}

// A shallow clone holds its oldest fetched commits without their parents: the history starts there and
// says so. The same missing parent in a repository that is not shallow is damage, reported as an error
// (it once gave an empty history).
TEST_F(HistoryTest, AShallowCloneStartsAtItsOldestCommitAndAMissingParentElsewhereIsAnError) {
    for (int i = 0; i < 3; ++i) {
        Write("repo/a" + std::to_string(i) + ".c", "int a;\n");
        Commit(kStart + i);
    }
    const nlohmann::json whole = Points({"--history"});
    ASSERT_EQ(whole.size(), 3u);
    const std::string root = whole[0]["commit"], second = whole[1]["commit"];
    fs::remove(Path("repo/.git/objects/" + root.substr(0, 2) + "/" + root.substr(2)));

    {
        const InFolder inRepo(Path("repo"));
        const CliRun damaged = Run({"--history", "-f", "csv"});
        EXPECT_EQ(damaged.code, 2);
        EXPECT_NE(damaged.err.find("\"HEAD\": "), std::string::npos) << damaged.err;
    }

    std::ofstream(Path("repo/.git/shallow")) << second << "\n";
    const InFolder inRepo(Path("repo"));
    const CliRun shallow = Run({"--history", "-f", "json"});
    ASSERT_EQ(shallow.code, 0) << shallow.err;
    const nlohmann::json points = nlohmann::json::parse(shallow.out)["points"];
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0]["commit"], second);
    EXPECT_EQ(points[1]["commit"], whole[2]["commit"]);
    EXPECT_NE(shallow.err.find("shallow clone: the history of HEAD starts at " + second), std::string::npos)
        << shallow.err;
}

// --include-lang and --exclude-lang apply to each point as to a count of its revision, also with a
// point's totals taken from the cache; the filters that look at files on disk are refused.
TEST_F(HistoryTest, LanguageFiltersApplyAndOnDiskFiltersAreRefused) {
    for (int i = 0; i < 3; ++i) {
        WriteC("repo/a" + std::to_string(i) + ".c", i + 1);
        Write("repo/s" + std::to_string(i) + ".py", "x = 1  # note\n");
        Write("repo/t" + std::to_string(i) + ".rb", "# note\nx = 1\n");
        Commit(kStart + i * kDay);
    }
    const std::string cache = Path("history.cache").string();
    ASSERT_EQ(Points({"--history", "--cache", cache}).size(), 3u);
    for (const std::vector<std::string>& filter : std::vector<std::vector<std::string>>{
             {"--include-lang", "c", "--include-lang", "PYTHON"}, {"--exclude-lang", "Ruby"}}) {
        for (const bool cached : {false, true}) {
            std::vector<std::string> args = filter;
            args.push_back("--history");
            if (cached) args.insert(args.end(), {"--cache", cache});
            const nlohmann::json points = Points(args);
            ASSERT_EQ(points.size(), 3u);
            for (const auto& point : points) {
                const LanguageCounts counts = CountsOf(point["languages"], "language");
                EXPECT_EQ(counts, RevisionCounts(point["commit"], filter)) << filter[0];
                EXPECT_EQ(counts.size(), 2u) << filter[0];
                EXPECT_FALSE(counts.contains("Ruby"));
            }
        }
    }
    EXPECT_EQ(Points({"--history", "--include-lang", "Klingon"}, 2), nlohmann::json::object());
    for (const char* refused : {"--skip-generated", "--skip-vendored", "--skip-duplicates"})
        EXPECT_EQ(Points({"--history", refused}, 2), nlohmann::json::object()) << refused;
}

TEST_F(HistoryTest, CacheIsReusedKeyedByOptionsAndADamagedOneIsIgnored) {
    for (int i = 0; i < 5; ++i) {
        WriteC("repo/a.c", i + 1, 1);
        Write("repo/b.py", "x = 1  # " + std::to_string(i) + "\n");
        Commit(kStart + i);
    }
    const std::string cache = Path("history.cache").string();
    const nlohmann::json plain = Points({"--history"});
    const nlohmann::json both = Points({"--history", "--mixed-as-both"});
    ASSERT_NE(plain, both);
    EXPECT_EQ(Points({"--history", "--cache", cache}), plain);
    const auto size = fs::file_size(cache);
    // Another option set adds its own section; each reads back its own counts.
    EXPECT_EQ(Points({"--history", "--mixed-as-both", "--cache", cache}), both);
    EXPECT_GT(fs::file_size(cache), size);
    EXPECT_EQ(Points({"--history", "--cache", cache}), plain);
    EXPECT_EQ(Points({"--history", "--mixed-as-both", "--cache", cache}), both);

    // A changed byte: reported, ignored, and the file rewritten whole.
    {
        std::fstream f(cache, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(size / 2));
        f.put('\x7F');
    }
    const InFolder inRepo(Path("repo"));
    CliRun run = Run({"--history", "-f", "json", "--cache", cache});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("is damaged"), std::string::npos) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["points"], plain);
    run = Run({"--history", "-f", "json", "--cache", cache});
    EXPECT_EQ(run.err, "");
    // A file that is no cache is neither read nor overwritten.
    Write("notes.txt", "my notes\n");
    run = Run({"--history", "--cache", Path("notes.txt").string()});
    EXPECT_EQ(run.code, 2);
    std::ifstream notes(Path("notes.txt"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(notes), {}), "my notes\n");
}

// Points kept in a cache are reused only under the same options: every option that changes a count,
// and a user language database whose rules changed in the same file, gets totals of its own.
TEST_F(HistoryTest, CachedPointsServeOnlyTheirOwnOptions) {
    Write("udl.ini", "Qq\n.qq\n#\n0\n\n0\n\nNo\n");
    for (int i = 0; i < 4; ++i) {
        WriteC("repo/src/a.c", i + 1, 1);
        Write("repo/src/m.c", "x = 1; // mixed\n");
        WriteC("repo/vendor/v.c", 2, i);
        Write("repo/src/x.qq", "# note\nx = " + std::to_string(i) + " # mixed\n");
        Write("repo/src/y.inc", "x = 1;\n");
        Write("repo/bin/tool", "#!/usr/bin/perl\nprint " + std::to_string(i) + ";\n");
        Write("repo/.ignore", i % 2 ? "*.qq\n" : "");
        Commit(kStart + i);
    }
    const std::string cache = Path("history.cache").string();
    const std::string db = Path("udl.ini").string();
    const nlohmann::json plain = Points({"--history", "--languages", db});
    ASSERT_EQ(Points({"--history", "--languages", db, "--cache", cache}), plain);
    const std::vector<std::vector<std::string>> variants = {
        {"--exclude-dir", "vendor"}, {"--exclude", "a.c"},        {"--include-ext", ".c"},
        {"--map", ".inc=.c"},        {"--no-ignore"},             {"--builtin-only"},
        {"--mixed-as-both"},         {"--no-default-excludes", "--exclude-dir", "src"},
    };
    for (std::vector<std::string> args : variants) {
        args.insert(args.end(), {"--history", "--languages", db});
        const nlohmann::json fresh = Points(args);
        EXPECT_NE(fresh, plain) << args[0] << " changes nothing here: the case proves nothing";
        args.insert(args.end(), {"--cache", cache});
        EXPECT_EQ(Points(args), fresh) << args[0];
        EXPECT_EQ(Points(args), fresh) << args[0] << ", its own points read back";
    }
    // The same database file with other rules.
    Write("udl.ini", "Qq\n.qq\n//\n0\n\n0\n\nNo\n");
    const nlohmann::json changed = Points({"--history", "--languages", db});
    EXPECT_NE(changed, plain);
    EXPECT_EQ(Points({"--history", "--languages", db, "--cache", cache}), changed);
}

// A point whose totals are known is not compared: the next point is compared with its tree and adds
// what changed to the known totals.
TEST_F(HistoryTest, CountingGoesOnFromKnownTotals) {
    std::vector<vcs::HistoryCommit> commits;
    for (int i = 0; i < 3; ++i) {
        WriteC("repo/a.c", 1);
        WriteC("repo/b" + std::to_string(i) + ".c", 2);
        Commit(kStart + i);
    }
    std::string error;
    const std::unique_ptr<vcs::HistoryWalker> repository = vcs::HistoryWalker::Open(Path("repo").string(), error);
    ASSERT_TRUE(repository) << error;
    ASSERT_TRUE(repository->FirstParentCommits("HEAD", commits, error)) << error;
    ASSERT_EQ(commits.size(), 3u);
    engine::CountOptions options;
    history::HistoryLanguages languages(options, nullptr);
    const std::uint16_t c = languages.Intern("C", false);
    history::PointStore known;
    history::PointTotals made(c + 1u);
    made[c] = {50, {500, 0, 0, 0, 500}};  // not what the tree holds: shows where the totals came from
    known.Add(commits[1].id, made);
    history::HistoryInput input{*repository,
                                commits,
                                [](const std::string&, bool) { return true; },
                                true,
                                [](std::string_view path) { return std::string(engine::PathExtension(path)); },
                                options,
                                nullptr,
                                2,
                                &known};
    history::HistoryMemo memo;
    history::HistoryStats stats;
    std::vector<std::int64_t> code, files;
    ASSERT_TRUE(history::CountHistory(
        input, languages, memo,
        [&](std::size_t, const history::PointTotals& totals) {
            code.push_back(totals[c].counts.ii);
            files.push_back(totals[c].files);
        },
        {}, stats, error))
        << error;
    EXPECT_EQ(code, (std::vector<std::int64_t>{3, 500, 502}));
    EXPECT_EQ(files, (std::vector<std::int64_t>{2, 50, 51}));
}

}  // namespace
}  // namespace kordel::cli::test
