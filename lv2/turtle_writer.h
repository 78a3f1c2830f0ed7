// The bundle's Turtle, written from the products' identity records and parameter tables:
// the manifest naming every plug-in and UI, and each plug-in's description with its ports as
// PortLayout places them.
#pragma once

#include <string>
#include <vector>

struct Product;

class TurtleWriter {
  public:
    /// The libraries within the bundle.
    struct Binaries {
        std::string plugins;
        std::string panels;
    };

    /// The manifest: each product's URI, the plug-in library and the description's file, and
    /// the UI of each product that `hasPanel` names.
    static std::string manifest(const std::vector<const Product*>& products,
                                const std::vector<bool>& hasPanel, const Binaries& binaries);
    /// The product's plug-in and project: names, maker, version, class, ports and its UI.
    static std::string description(const Product& product, bool hasPanel);
    /// The file of the product's description within the bundle.
    static std::string fileName(const Product& product);
};
