// The object behind a window, passed as the create parameter and kept in GWLP_USERDATA from
// WM_NCCREATE on, so that a window procedure needs no global map from handles to objects.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

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

// The procedure of a window that owns its object (see createOwnedWindow): from WM_NCCREATE on,
// T::attach gets the handle and T::handle answers every message; the object is deleted with
// WM_NCDESTROY.
template <class T>
LRESULT CALLBACK ownedWindowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    T* self = nullptr;
    if (message == WM_NCCREATE) {
        // The creator's holder gives the object up: the window owns it from here.
        auto* holder =
            static_cast<std::unique_ptr<T>*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self = holder->release();
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->attach(window);
    } else {
        self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return DefWindowProcW(window, message, w, l);
    }
    const LRESULT result = self->handle(message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
    }
    return result;
}

// Registers a class of the program's windows (its icon, the arrow cursor); registering one
// that is registered already fails harmlessly.
void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         HBRUSH background, UINT style = 0);

struct WindowShape {
    DWORD style = WS_OVERLAPPEDWINDOW;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
};

// A top-level window of a class registered with ownedWindowProcedure<T>, owning `object`; an
// object the window never took (creation failed before WM_NCCREATE) is deleted here.
template <class T>
HWND createOwnedWindow(std::unique_ptr<T> object, HINSTANCE instance, const wchar_t* className,
                       const std::wstring& title, const WindowShape& shape, HWND owner) {
    return CreateWindowExW(0, className, title.c_str(), shape.style, shape.x, shape.y, shape.width,
                           shape.height, owner, nullptr, instance, &object);
}

}  // namespace zepa::win32
