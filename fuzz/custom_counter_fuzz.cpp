// The custom counter with a fuzzed language record: the first eight lines are the record, the rest the file.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/file_counter.h"
#include "fuzz_support.h"
#include "userlang/custom_counter.h"
#include "userlang/udlangdb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    for (int line = 0; line < 8 && at < bytes.size(); ++line) {
        const std::size_t lf = bytes.find('\n', at);
        at = lf == std::string_view::npos ? bytes.size() : lf + 1;
    }
    const auto records = kordel::userlang::ParseUDList(bytes.substr(0, at));
    const kordel::userlang::UserLanguage language = records.empty() ? kordel::userlang::UserLanguage{} : records[0];
    const bool cblib = size > 0 && (data[0] & 1) != 0;
    kordel::userlang::CustomClassifier classifier(kordel::userlang::MarkersOf(language), cblib);
    const auto path = ScratchFile("input.usr", bytes.substr(at));
    std::atomic<int> canc{0};
    const auto out = kordel::engine::CountFile(path, classifier, false, canc);
    FUZZ_CHECK(out.status == kordel::engine::FileStatus::Counted);
    const auto& c = out.counts;
    FUZZ_CHECK(c.ii + c.inoc + c.inoml + c.inos == c.nl3);
    return 0;
}
