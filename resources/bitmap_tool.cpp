#include "resources/bitmap_tool.h"

#include <cstdio>
#include <string>

#include "resources/font_renderer.h"

int runBitmapTool(int argc, char** argv,
                  const std::function<std::vector<BitmapOutput>(const FontRenderer&)>& draw) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    FontRenderer fonts;
    std::string error;
    if (!fonts.load(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::string folder = argv[1];
    for (const BitmapOutput& output : draw(fonts)) {
        const std::string path = folder + "/bmp00" + std::to_string(output.id) + ".bmp";
        if (!output.image.writeBmp(path, output.bitsPerPixel, error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
