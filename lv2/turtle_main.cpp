// Writes the bundle's Turtle at build time: `pevo-lv2-turtle BUNDLE PLUGINS PANELS` puts
// manifest.ttl and each plug-in's description into the folder BUNDLE, naming PLUGINS and
// PANELS (file names within the bundle) as the plug-in library and the UI library.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "lv2/lv2_products.h"
#include "lv2/turtle_writer.h"
#include "lv2/ui/lv2_panels.h"
#include "plugin/product.h"

namespace {

/// Writes `text` to `path`; reports a failure with the file's name.
bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::fprintf(stderr, "pevo-lv2-turtle: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

/// Whether the UI library shows the product's panel.
bool hasPanel(const Product& product) {
    for (std::uint32_t i = 0; i < kLv2PanelCount; ++i) {
        if (std::strcmp(lv2Panel(i)->identity.lv2Uri, product.identity.lv2Uri) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: pevo-lv2-turtle BUNDLE PLUGINS PANELS\n");
        return 2;
    }
    const std::string bundle = std::string(argv[1]) + "/";
    std::vector<const Product*> products;
    std::vector<bool> panels;
    for (std::uint32_t i = 0; i < kLv2ProductCount; ++i) {
        products.push_back(lv2Product(i));
        panels.push_back(hasPanel(*products.back()));
    }
    bool written = writeFile(bundle + "manifest.ttl",
                             TurtleWriter::manifest(products, panels, {argv[2], argv[3]}));
    for (std::size_t i = 0; i < products.size(); ++i) {
        written = writeFile(bundle + TurtleWriter::fileName(*products[i]),
                            TurtleWriter::description(*products[i], panels[i])) &&
                  written;
    }
    return written ? 0 : 1;
}
