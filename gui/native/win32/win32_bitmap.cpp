#include "gui/native/win32/win32_bitmap.h"

CWin32Bitmap::CWin32Bitmap(HBITMAP bitmap) : bitmap(bitmap) {
    BITMAP description{};
    if (bitmap && GetObjectA(bitmap, sizeof description, &description) != 0) {
        columns = description.bmWidth;
        rows = description.bmHeight;
    }
}

CWin32Bitmap::~CWin32Bitmap() {
    if (bitmap) {
        DeleteObject(bitmap);
    }
}
