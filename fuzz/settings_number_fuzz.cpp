// The settings number reader against a plain reference: blanks, then digits, saturating at the maximum.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "fuzz_support.h"
#include "ui/core/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t i = 0;
    while (i < text.size() && std::string_view(" \t\n\r\v\f").find(text[i]) != std::string_view::npos) ++i;
    unsigned __int128 value = 0;
    constexpr unsigned long kMax = std::numeric_limits<unsigned long>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > kMax) value = static_cast<unsigned __int128>(kMax) + 1;
    }
    const unsigned long expected = value > kMax ? kMax : static_cast<unsigned long>(value);
    FUZZ_CHECK(kordel::ui::ReadSettingNumber(text) == expected);
    return 0;
}
