#include "back_buffer.h"

namespace zepa::win32 {

BackBuffer::BackBuffer() : dc_(CreateCompatibleDC(nullptr)) {}

BackBuffer::~BackBuffer() {
    if (original_ != nullptr) {
        SelectObject(dc_, original_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    DeleteDC(dc_);
}

bool BackBuffer::resize(int width, int height) {
    if (width == width_ && height == height_ && bitmap_ != nullptr) {
        return true;
    }
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP next = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (next == nullptr) {
        return false;
    }
    HGDIOBJ previous = SelectObject(dc_, next);
    if (original_ == nullptr) {
        original_ = previous;
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    bitmap_ = next;
    width_ = width;
    height_ = height;
    return true;
}

void BackBuffer::fill(COLORREF color) {
    const RECT all{0, 0, width_, height_};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

void BackBuffer::show(HDC target, const RECT& area) const {
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_,
           area.left, area.top, SRCCOPY);
}

}  // namespace zepa::win32
