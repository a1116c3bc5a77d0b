// The desktop's hand-off messages: any bytes, in any pieces, read the same as in one piece, the reader
// keeps no more than one message, and every message the sender makes reads back as its path.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "ui/core/hand_off.h"

namespace {

using kordel::ui::HandOffReader;

// Every result and path the reader gives for `bytes` fed in pieces of the sizes in `cuts`.
std::vector<std::string> ReadAll(std::string_view bytes, std::string_view cuts) {
    HandOffReader reader;
    std::vector<std::string> seen;
    std::size_t at = 0, cut = 0;
    while (at < bytes.size()) {
        const std::size_t piece = cuts.empty() ? bytes.size() : 1 + static_cast<unsigned char>(cuts[cut++ % cuts.size()]);
        std::string_view next = bytes.substr(at, piece);
        at += next.size();
        for (;;) {
            std::string path;
            const HandOffReader::Result result = reader.Feed(next, path);
            next = {};
            FUZZ_CHECK(reader.buffered() <= 4 + kordel::ui::kMaxHandOffPath + piece);
            if (result == HandOffReader::Result::NeedMore) break;
            if (result == HandOffReader::Result::Refused) {
                seen.push_back("refused");
                return seen;
            }
            FUZZ_CHECK(!path.empty() && path.size() <= kordel::ui::kMaxHandOffPath);
            seen.push_back(path);
        }
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The bytes received, then after the last 0xFF byte the sizes of the pieces they arrive in.
    const std::size_t split = input.rfind('\xff');
    const std::string_view bytes = input.substr(0, split);
    const std::string_view cuts = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    FUZZ_CHECK(ReadAll(bytes, cuts) == ReadAll(bytes, {}));
    const std::string message = kordel::ui::HandOffMessage(input);
    FUZZ_CHECK(message.empty() == (input.empty() || input.size() > kordel::ui::kMaxHandOffPath));
    if (!message.empty()) FUZZ_CHECK(ReadAll(message, cuts) == std::vector<std::string>{std::string(input)});
    return 0;
}
