// The language database reader: saving what was read and reading it again changes nothing, and a
// database whose every line ends in CR LF, in whole records, saves back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "userlang/udlangdb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto path = ScratchFile("udlangdb.ini", bytes);
    const kordel::userlang::DbContents read = kordel::userlang::ReadUDLangDb(path);
    FUZZ_CHECK(read.status == kordel::userlang::DbStatus::Loaded);
    FUZZ_CHECK(read.languages == kordel::userlang::ParseUDList(bytes));

    const std::string saved = kordel::userlang::FormatUDList(read.languages);
    FUZZ_CHECK(kordel::userlang::ParseUDList(saved) == read.languages);

    std::size_t lines = 0, crlf = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n') {
            ++lines;
            if (i > 0 && bytes[i - 1] == '\r') ++crlf;
        }
    const bool wholeLines = bytes.empty() || bytes.back() == '\n';
    if (wholeLines && crlf == lines && lines % kordel::userlang::kFieldsPerRecord == 0) FUZZ_CHECK(saved == bytes);

    // A lookup never fails on such a file.
    (void)kordel::userlang::FindCustomExtension(read.languages, ".x");
    (void)kordel::userlang::UserExtensionPatterns(read.languages);
    return 0;
}
