// A dialog procedure's state, kept in the dialog's own user slot from WM_INITDIALOG on.
#pragma once

#include <windows.h>

namespace kordel::win32 {

template <typename T>
T* DialogState(HWND dialog) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

template <typename T>
T* KeepDialogState(HWND dialog, LPARAM state) {
    SetWindowLongPtrW(dialog, DWLP_USER, state);
    return reinterpret_cast<T*>(state);
}

}  // namespace kordel::win32
