// Conversions between the core's UTF-8 texts and the wide texts of the Windows interface.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kordel::win32 {

std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

/// A control's text, as UTF-8.
std::string DlgText(HWND dialog, int id);
void SetDlgText(HWND dialog, int id, std::string_view text);

}  // namespace kordel::win32
