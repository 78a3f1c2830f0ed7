// A bitmap resource of the library as the graphics system holds it.
#pragma once

#include <windows.h>

#include "gui/native/surface.h"

class CWin32Bitmap : public CNativeBitmap {
  public:
    /// Takes ownership of `bitmap`; its size is asked of the graphics system.
    explicit CWin32Bitmap(HBITMAP bitmap);
    ~CWin32Bitmap() override;
    CWin32Bitmap(const CWin32Bitmap&) = delete;
    CWin32Bitmap& operator=(const CWin32Bitmap&) = delete;

    int width() const override { return width_; }
    int height() const override { return height_; }
    HBITMAP handle() const { return bitmap_; }

  private:
    HBITMAP bitmap_;
    int width_ = 0;
    int height_ = 0;
};
