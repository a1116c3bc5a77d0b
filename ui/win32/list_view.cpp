// Report-style list views of the Windows program: their style and columns.
#include "ui/win32/list_view.h"

#include <commctrl.h>

#include <string>

#include "ui/win32/text.h"

namespace kordel::win32 {

void PrepareListView(HWND list) {
    const DWORD styles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;
    ListView_SetExtendedListViewStyleEx(list, styles, styles);
}

void AddColumn(HWND list, int index, std::string_view title, int width) {
    std::wstring text = Wide(title);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = text.data();
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

}  // namespace kordel::win32
