// Where fontconfig finds a font: the one lookup behind the toolkit's software text and the
// panel art's legends.
#pragma once

#include <string>

class CFontFile {
  public:
    /// The file that fontconfig offers for `family` at the weight and slant asked for, and
    /// its em size in pixels (0 for none); false when it offers none at all.
    static bool find(const char* family, bool bold, bool italic, double pixelSize,
                     CFontFile& found);

    std::string path;
    /// The face inside the file.
    int index = 0;
    /// The family of the face found: another one when `family` is not installed.
    std::string family;
    /// What FreeType must synthesise: the face found is lighter or more upright than asked.
    bool embolden = false;
    bool oblique = false;
};
