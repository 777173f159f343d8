// A window's picture: a 32-bit DIB section in a memory DC of the client size. Everything the
// window shows is drawn here and only copied to the screen, as on the Qt side.
#pragma once

#include <windows.h>

namespace zepa::win32 {

class BackBuffer {
  public:
    BackBuffer();
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // The memory DC lives as long as the buffer, so a surface over it keeps its fonts across
    // resizes. False when no bitmap of that size could be made (the old one stays).
    bool resize(int width, int height);
    void fill(COLORREF color);
    // Copies the rectangle to the window's DC at the same place.
    void show(HDC target, const RECT& area) const;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace zepa::win32
