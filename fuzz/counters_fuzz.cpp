// Every built-in counter through the dispatch table: the first byte picks the language and the options,
// the rest is the file. Every line lands in exactly one category.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "fuzz_support.h"

namespace {
// One extension of every row of the table; ".f" twice, once for each meaning of dotf.
constexpr std::string_view kExtensions[] = {".bat", ".pro", ".ms",  ".ml",  ".txt", ".m",   ".rb",  ".tcl",
                                            ".awk", ".abp", ".cgi", ".lsp", ".py",  ".sed", ".cob", ".ada",
                                            ".sql", ".f",   ".f77", ".f90", ".tex", ".cfm", ".htm", ".pas",
                                            ".asm", ".vb",  ".c",   ".php"};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t n = std::size(kExtensions);
    const std::uint8_t pick = data[0];
    kordel::engine::CountOptions options;
    options.cnoml = (pick & 0x20) != 0;
    options.cblib = (pick & 0x40) != 0;
    options.dotf = (pick & 0x80) != 0 ? 1 : 0;
    const std::string_view ext = kExtensions[(pick & 0x1f) % n];
    const kordel::engine::BuiltinLanguage* lang = kordel::engine::FindBuiltin(ext, options.dotf);
    FUZZ_CHECK(lang != nullptr);
    auto classifier = lang->make(options);
    const auto path = ScratchFile(std::string("input") + std::string(ext),
                                  std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    std::atomic<int> canc{0};
    const auto out = kordel::engine::CountFile(path, *classifier, options.cnoml, canc);
    FUZZ_CHECK(out.status == kordel::engine::FileStatus::Counted);
    const auto& c = out.counts;
    FUZZ_CHECK(c.ii >= 0 && c.inoc >= 0 && c.inoml >= 0 && c.inos >= 0);
    // With cnoml a mixed line is also counted as code and as comment.
    const std::int64_t extra = options.cnoml ? 2 * c.inoml : 0;
    FUZZ_CHECK(c.ii + c.inoc + c.inoml + c.inos - extra == c.nl3);
    return 0;
}
