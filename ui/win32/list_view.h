// Small helpers for the report-style list views of the main window and the language dialog.
#pragma once

#include <windows.h>

#include <string_view>

namespace kordel::win32 {

/// Grid lines, full-row selection and header drag-and-drop.
void PrepareListView(HWND list);

/// Inserts a left-aligned column with that title and width at that index.
void AddColumn(HWND list, int index, std::string_view title, int width);

}  // namespace kordel::win32
