// Splits the open-file dialog's answer for several files into paths.
#include "ui/win32/chosen_files.h"

namespace kordel::win32 {

std::vector<std::wstring> ChosenFiles(std::wstring_view answer) {
    std::vector<std::wstring> paths;
    const std::wstring_view first = answer.substr(0, answer.find(L'\0'));
    if (first.empty()) return paths;
    std::size_t at = first.size() + 1;
    if (at >= answer.size() || answer[at] == L'\0') {
        paths.emplace_back(first);
        return paths;
    }
    std::wstring folder(first);
    if (folder.back() != L'\\') folder.push_back(L'\\');
    while (at < answer.size() && answer[at] != L'\0') {
        const std::wstring_view rest = answer.substr(at);
        const std::wstring_view name = rest.substr(0, rest.find(L'\0'));
        paths.push_back(folder + std::wstring(name));
        at += name.size() + 1;
    }
    return paths;
}

}  // namespace kordel::win32
