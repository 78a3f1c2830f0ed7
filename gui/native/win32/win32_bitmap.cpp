#include "gui/native/win32/win32_bitmap.h"

CWin32Bitmap::CWin32Bitmap(HBITMAP bitmap) : bitmap_(bitmap) {
    BITMAP description{};
    if (bitmap_ && GetObjectA(bitmap_, sizeof description, &description) != 0) {
        width_ = description.bmWidth;
        height_ = description.bmHeight;
    }
}

CWin32Bitmap::~CWin32Bitmap() {
    if (bitmap_) {
        DeleteObject(bitmap_);
    }
}
