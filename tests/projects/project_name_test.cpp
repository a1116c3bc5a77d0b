// Project name detection, the suggested place and the questions before the Save As dialog.
#include <gtest/gtest.h>

#include "projects/project_name.h"
#include "tests/support/scripted_questions.h"

using namespace kordel::projects;

TEST(ProjectNameCandidate, FindsTheFolderOfTheFirstVersionLikeDot) {
    struct Case {
        std::vector<std::string> paths;
        PathStyle style;
        std::optional<std::string> name;
    };
    const std::vector<Case> cases{
        {{"C:\\Work\\MyApp 2.1\\src\\main.c"}, PathStyle::Windows, "MyApp 2.1"},
        {{"C:\\my.app\\rel1.0\\x.c"}, PathStyle::Windows, std::nullopt},  // only the first dot counts
        {{"C:\\src\\lib-1.2\\x.c"}, PathStyle::Windows, "lib-1.2"},
        {{"C:\\App 2.0\\lib-1.2\\x.c"}, PathStyle::Windows, "App 2.0"},
        {{"C:\\src\\v1.2.c", "C:\\b\\2.0\\y.c"}, PathStyle::Windows, "2.0"},  // the file name is not looked at
        {{"\\\\srv\\share\\tool 3.4\\x.c"}, PathStyle::Windows, "tool 3.4"},
        {{}, PathStyle::Windows, std::nullopt},
        {{"/home/me/proj-0.9/src/a.c"}, PathStyle::Posix, "proj-0.9"},
        {{"/home/me/.config/a.c"}, PathStyle::Posix, std::nullopt},
        {{"/x/a\\1.2\\b/c.c"}, PathStyle::Posix, "a\\1.2\\b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProjectNameCandidate(c.paths, c.style), c.name) << (c.paths.empty() ? "" : c.paths[0]);
    EXPECT_EQ(SuggestedListPath({"C:\\Work\\MyApp 2.1\\src\\main.c"}, "MyApp 2.1", PathStyle::Windows),
              "C:\\Work\\MyApp 2.1\\src\\MyApp 2.1.kpl");
    EXPECT_EQ(SuggestedListPath({"C:\\plain\\x.c"}, "N", PathStyle::Windows), std::nullopt);
}

TEST(SaveAsQuestions, FollowTheOptions) {
    const std::vector<std::string> versioned{"C:\\Work\\MyApp 2.1\\src\\main.c"};
    const std::string name = IsProjectNameQuestion("MyApp 2.1");
    const std::string place = SaveAtQuestion("C:\\Work\\MyApp 2.1\\src\\MyApp 2.1.kpl");
    struct Case {
        const char* what;
        bool aspn, pfpn, sspl;
        std::deque<bool> answers;
        std::vector<std::string> shown;
        std::string PN;
        std::optional<std::string> saveAt;
    };
    const std::vector<Case> cases{
        {"accept name and place", true, false, true, {true, true}, {name, place}, "MyApp 2.1",
         "C:\\Work\\MyApp 2.1\\src\\MyApp 2.1.kpl"},
        {"decline the place", true, false, true, {true, false}, {name, place}, "MyApp 2.1", std::nullopt},
        {"no sspl", true, false, false, {true}, {name}, "MyApp 2.1", std::nullopt},
        {"detection declined, then typed", true, true, true, {false}, {name, "name prompt"}, "Typed", std::nullopt},
        {"detection accepted skips the prompt", true, true, false, {true}, {name}, "MyApp 2.1", std::nullopt},
        {"aspn off", false, true, true, {}, {"name prompt"}, "Typed", std::nullopt},
        {"nothing on", false, false, true, {}, {}, "old", std::nullopt},
    };
    for (const Case& c : cases) {
        test_support::ScriptedQuestions q;
        q.answers = c.answers;
        q.typedName = "Typed";
        ListState state;
        state.PN = "old";
        ListSettings settings;
        settings.aspn = c.aspn;
        settings.pfpn = c.pfpn;
        settings.sspl = c.sspl;
        EXPECT_EQ(SaveAsQuestions(versioned, state, settings, q, PathStyle::Windows), c.saveAt) << c.what;
        EXPECT_EQ(q.shown, c.shown) << c.what;
        EXPECT_EQ(state.PN, c.PN) << c.what;
    }
}

TEST(SaveAsQuestions, TypedNameIsCutToTheFieldLimitAndCancelKeepsTheOld) {
    test_support::ScriptedQuestions q;
    q.typedName = std::string(300, 'x');
    ListState state;
    ListSettings settings;
    settings.pfpn = true;
    SaveAsQuestions({}, state, settings, q);
    EXPECT_EQ(state.PN.size(), kMaxProjectName);
    q.typedName.reset();
    state.PN = "kept";
    SaveAsQuestions({}, state, settings, q);
    EXPECT_EQ(state.PN, "kept");
}
