// Test support for kordelc: a temporary tree of source files and in-process runs of the command.
#pragma once

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/kordelc.h"
#include "tests/support/files.h"

namespace kordel::cli::test {

namespace fs = std::filesystem;

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

/// A fresh folder per test, removed afterwards; every run gets an empty user language database
/// unless a test passes its own --languages.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override { Write("empty-udlangdb.ini", ""); }

    fs::path Path(const std::string& relative) const { return m_dir / relative; }

    /// Writes `text` to the file `relative` below the test folder, making its folders.
    void Write(const std::string& relative, const std::string& text) const { m_temp.Write(relative, text); }

    /// A C file with `code` code lines, `comment` comment lines and `blank` blank lines.
    void WriteC(const std::string& relative, int code, int comment = 0, int blank = 0) const {
        std::string text;
        for (int i = 0; i < code; ++i) text += "x = " + std::to_string(i) + ";\n";
        for (int i = 0; i < comment; ++i) text += "// note\n";
        for (int i = 0; i < blank; ++i) text += "\n";
        Write(relative, text);
    }

    CliRun Run(std::vector<std::string> args, const Console& console = {}) const {
        if (std::find_if(args.begin(), args.end(), [](const std::string& a) { return a == "--languages"; }) ==
            args.end()) {
            args.insert(args.begin(), {"--languages", Path("empty-udlangdb.ini").string()});
        }
        args.insert(args.begin(), "kordelc");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        std::ostringstream out, err;
        CliRun run;
        run.code = kordel::cli::Run(static_cast<int>(argv.size()), argv.data(), out, err, console);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    /// The counted files of a JSON run, relative to the test folder, in output order. Only the built-in
    /// languages are taken: the walks of these tests are about which files, not which languages (the
    /// table of further languages would take .gitignore and .gitattributes too).
    std::vector<std::string> CountedFiles(const std::vector<std::string>& args) const {
        std::vector<std::string> full = args;
        full.insert(full.begin(), {"-f", "json", "--builtin-only"});
        const CliRun run = Run(full);
        EXPECT_EQ(run.code, 0) << run.err;
        std::vector<std::string> files;
        const nlohmann::json runDoc = nlohmann::json::parse(run.out);
        for (const auto& file : runDoc["files"])
            files.push_back(fs::path(file["path"].get<std::string>()).lexically_relative(m_dir).generic_string());
        return files;
    }

    std::set<std::string> CountedSet(const std::vector<std::string>& args) const {
        const std::vector<std::string> files = CountedFiles(args);
        return {files.begin(), files.end()};
    }

    test_support::TempDir m_temp{"kordelc"};
    fs::path m_dir = m_temp.path();
};

}  // namespace kordel::cli::test
