// The project list reader and writer: whatever the writer accepts, read again, gives the same files and name.
#include <algorithm>
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

// Saves the rows under `name` when the writer accepts them, and checks what opening the list gives.
void SaveAndReadBack(const std::vector<std::string>& rows, const std::string& name, GoOn& questions) {
    if (kordel::projects::WhyNotSavable(rows, name)) return;
    const std::string saved = kordel::ToCrLf(kordel::projects::ProjectListText(rows, name));
    std::vector<std::string> again;
    kordel::projects::ListState state;
    kordel::projects::GetProject(ScratchFile("again.kpl", saved), again, state, questions);
    FUZZ_CHECK(!state.openFailed);
    FUZZ_CHECK(again == rows);
    // "Unspecified" is what a list without a name holds, and reads back as no name.
    FUZZ_CHECK(state.PN == (name == kordel::projects::kUnspecified ? std::string() : name));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    GoOn questions;
    std::vector<std::string> rows;
    kordel::projects::ListState state;
    kordel::projects::GetProject(ScratchFile("input.kpl", bytes), rows, state, questions);
    if (state.openFailed || rows.empty()) return 0;
    // The files found, saved under the name read and under a name as typed (the input's first line).
    SaveAndReadBack(rows, state.PN, questions);
    SaveAndReadBack(rows, std::string(bytes.substr(0, std::min<std::size_t>(bytes.find('\n'), 64))), questions);
    return 0;
}
