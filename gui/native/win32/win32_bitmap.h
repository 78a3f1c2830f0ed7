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

    int width() const override { return columns; }
    int height() const override { return rows; }
    HBITMAP handle() const { return bitmap; }

  private:
    HBITMAP bitmap;
    int columns = 0;
    int rows = 0;
};
