// The object behind a window, passed as the create parameter and kept in GWLP_USERDATA from
// WM_NCCREATE on, so that a window procedure needs no global map from handles to objects.
#pragma once

#include <windows.h>

namespace zepa::win32 {

// Null for the few messages that come before WM_NCCREATE.
template <class T>
T* windowObject(HWND window, UINT message, LPARAM l) {
    if (message == WM_NCCREATE) {
        T* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self;
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace zepa::win32
