// The project list reader: whatever it accepts, saved and read again, gives the same files and name.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "fuzz_support.h"
#include "projects/project_list.h"

namespace {
struct GoOn final : kordel::projects::ListQuestions {
    void ShowError(const std::string&) override {}
    bool AskRetryRead(const std::string&) override { return false; }
    bool AskRetryWrite(const std::string&) override { return false; }
    bool AskMissing(const std::string&) override { return true; }
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<std::string> AskProjectName() override { return std::nullopt; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    GoOn questions;
    std::vector<std::string> rows;
    kordel::projects::ListState state;
    kordel::projects::GetProject(ScratchFile("input.kpl", bytes), rows, state, questions);
    if (state.openFailed || rows.empty()) return 0;

    std::vector<std::string> again;
    kordel::projects::ListState stateAgain;
    const std::string saved = kordel::ToCrLf(kordel::projects::ProjectListText(rows, state.PN));
    kordel::projects::GetProject(ScratchFile("again.kpl", saved), again, stateAgain, questions);
    FUZZ_CHECK(!stateAgain.openFailed);
    FUZZ_CHECK(again == rows);
    // The writer keeps a name only up to a line break (a lone CR may be read into it).
    FUZZ_CHECK(stateAgain.PN == state.PN.substr(0, state.PN.find_first_of("\r\n")));
    return 0;
}
