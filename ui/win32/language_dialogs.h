// The User Defined Languages dialog and its add/edit form.
#pragma once

#include <windows.h>

#include "ui/core/desktop.h"
#include "userlang/language_form.h"

namespace kordel::win32 {

/// Shows the list dialog modally over `owner`; its OK writes the database through the editor.
void ShowLanguageDialog(HINSTANCE instance, HWND owner, userlang::LanguageListEditor& editor, ui::Desktop& desktop);

}  // namespace kordel::win32
