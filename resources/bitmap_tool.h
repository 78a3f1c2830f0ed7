// What the bitmap generators share: the one argument (the output folder), the fonts, and
// writing bitmap N as bmp00N.bmp.
#pragma once

#include <functional>
#include <vector>

#include "resources/bmp_image.h"

class FontRenderer;

/// One bitmap to write: its resource id, the depth to write it in, and the picture.
struct BitmapOutput {
    int id;
    int bitsPerPixel;
    BmpImage image;
};

/// A generator's `main`: checks the arguments, loads the fonts, has `draw` make the
/// bitmaps and writes each into the folder; the exit status, with any error on stderr.
int runBitmapTool(int argc, char** argv,
                  const std::function<std::vector<BitmapOutput>(const FontRenderer&)>& draw);
